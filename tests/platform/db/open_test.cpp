// Opening record files: files that are not ours, damaged keys, read-only
// access and locks held elsewhere.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "tests/platform/db/child_process.h"
#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::Access;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::Direction;

std::string randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen());
  return s;
}

std::vector<std::string> directoryEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A case file with `n` records (names repeat, numbers are unique).
void makeCases(int n, const FileDefinition& definition = caseDefinition()) {
  DbContext context;
  DbFile f(context, definition);
  ASSERT_EQ(openOrCreate(f), DbStatus::Ok) << f.error().text;
  for (int i = 0; i < n; ++i) {
    clear(f);
    field(f, CAS_NUMBER).setText("N" + std::to_string(i));
    field(f, CAS_NAME).setText("name-" + std::to_string(i % 50));
    field(f, CAS_DATE).setDay(40000 + i % 97);
    setDecimal(f, CAS_RATE, i % 3 ? "1.25" : "0");
    ASSERT_EQ(f.add(), DbStatus::Ok) << f.error().text;
  }
}

// Every record in the order of every key.
std::vector<std::vector<DbRow>> everyOrder(DbFile& f) {
  std::vector<std::vector<DbRow>> orders;
  for (int key = 1; key <= f.keyCount(); ++key) {
    std::vector<DbRow> rows;
    EXPECT_EQ(f.readPage(key, Direction::Forward, std::nullopt, 100000, std::nullopt, rows), DbStatus::Ok)
        << f.error().text;
    orders.push_back(rows);
  }
  return orders;
}

bool sameRows(const std::vector<std::vector<DbRow>>& a, const std::vector<std::vector<DbRow>>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].size() != b[k].size()) return false;
    for (std::size_t i = 0; i < a[k].size(); ++i)
      if (a[k][i].position != b[k][i].position || a[k][i].image != b[k][i].image) return false;
  }
  return true;
}

std::string integrity(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string result;
  sqlite3_exec(
      db, "PRAGMA integrity_check",
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) += values[0] ? values[0] : "";
        return 0;
      },
      &result, nullptr);
  sqlite3_close(db);
  return result;
}

void execOn(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

std::int64_t rootPage(const std::string& path, const std::string& name) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, ("SELECT rootpage FROM sqlite_schema WHERE name = '" + name + "'").c_str(), -1, &stmt,
                     nullptr);
  std::int64_t page = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return page;
}

void overwritePage(const std::string& path, std::int64_t page, unsigned seed) {
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp((page - 1) * 8192);
  f << randomBytes(8192, seed);
}

TEST(BadFiles, AreRefusedAndLeftAsTheyWere) {
  const std::string notOurs = "CASES.lvd is not a record file ";
  struct Fixture {
    const char* what;
    std::function<void(const std::string&)> make;
    std::string says;  // how the error text ends
  } fixtures[] = {
      {"random bytes", [](const std::string& p) { writeAll(p, randomBytes(20000, 7)); },
       notOurs + "(it is not a database)"},
      {"an empty file", [](const std::string& p) { writeAll(p, ""); }, notOurs + "(it is empty)"},
      {"a truncated file",
       [](const std::string& p) {
         static std::string truncated;  // made once: 2000 records take a while
         if (!truncated.empty()) return writeAll(p, truncated);
         makeCases(2000);
         std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         truncated = readAll(p);
       },
       notOurs + "(it is damaged)"},
      {"a file cut inside its header",
       [](const std::string& p) {
         makeCases(3);
         std::filesystem::resize_file(p, 60);
       },
       notOurs + "(it is damaged)"},
      {"another program's database",
       [](const std::string& p) { execOn(p, "CREATE TABLE notes(x); INSERT INTO notes VALUES(1)"); },
       notOurs + "(it is a database of another kind)"},
      {"a record file of another layout",
       [](const std::string& p) {
         DbContext c;
         DbFile other(c, entryDefinition());
         ASSERT_EQ(openOrCreate(other), DbStatus::Ok);
         other.close();
         std::filesystem::rename("ENTRIES.lvd", p);
       },
       "the file holds ENTRIES records of 68 bytes, not CASES records of 66 bytes"},
      {"a record file with other keys",
       [](const std::string&) {
         FileDefinition definition = caseDefinition();
         definition.keys[1].unique = true;
         makeCases(3, definition);
       },
       "the file's keys are defined differently"},
      {"a directory", [](const std::string& p) { std::filesystem::create_directory(p); },
       notOurs + "(it is not a regular file)"},
  };
  // The file is the thread's first, or joins a file already open.
  auto check = [](const Fixture& fx, bool afterAnother) {
    SCOPED_TRACE(testing::Message() << fx.what << (afterAnother ? ", after another file" : ""));
    ScratchDir dir;
    const std::string path = dir.file("CASES.lvd");
    fx.make(path);
    const std::string before = std::filesystem::is_directory(path) ? "" : readAll(path);

    DbContext context;
    DbFile totals(context, totalDefinition());
    if (afterAnother) {
      ASSERT_EQ(openOrCreate(totals), DbStatus::Ok) << totals.error().text;
    }
    const auto entries = directoryEntries(dir.path());
    DbFile f(context, caseDefinition());
    EXPECT_EQ(f.open(), DbStatus::NotOurs) << f.error().text;
    EXPECT_TRUE(f.error().text.ends_with(fx.says)) << f.error().text;
    EXPECT_EQ(f.open(Access::ReadOnly), DbStatus::NotOurs);
    EXPECT_EQ(f.create(), DbStatus::Ok);  // never made over an existing file
    EXPECT_EQ(f.open(), DbStatus::NotOurs);
    EXPECT_EQ(f.rebuildKeys(), DbStatus::RebuildFailed);
    EXPECT_FALSE(f.isOpen());

    if (!std::filesystem::is_directory(path)) {
      EXPECT_EQ(readAll(path), before);
    }
    EXPECT_EQ(directoryEntries(dir.path()), entries);

    // The refused file does not hinder the thread's other files.
    ASSERT_EQ(openOrCreate(totals), DbStatus::Ok) << totals.error().text;
    clear(totals);
    field(totals, TOT_CASENUMBER).setText("X");
    EXPECT_EQ(totals.add(), DbStatus::Ok) << totals.error().text;
  };
  for (const bool afterAnother : {false, true})
    for (const Fixture& fx : fixtures) check(fx, afterAnother);
}

TEST(DamagedKeys, AreFoundWhenOpenedAndRebuiltFromTheRecords) {
  struct Damage {
    const char* what;
    std::function<void(const std::string&)> apply;
  } damages[] = {
      {"a key value out of step with its record",
       [](const std::string& p) { execOn(p, "UPDATE records SET k2 = X'00' WHERE pos = 5"); }},
      {"a missing key", [](const std::string& p) { execOn(p, "DROP INDEX key_3"); }},
      {"a key built without leaving empty values out",
       [](const std::string& p) { execOn(p, "DROP INDEX key_2; CREATE INDEX key_2 ON records(k2)"); }},
      {"keys of another program version",
       [](const std::string& p) { execOn(p, "UPDATE meta SET value = '0' WHERE name = 'key_version'"); }},
      {"garbage in a key's pages", [](const std::string& p) { overwritePage(p, rootPage(p, "key_2"), 3); }},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    ScratchDir dir;
    const std::string path = dir.file("CASES.lvd");
    makeCases(300);
    std::vector<std::vector<DbRow>> expected;
    std::int64_t highest = 0;
    {
      DbContext c;
      DbFile f(c, caseDefinition());
      ASSERT_EQ(f.open(), DbStatus::Ok);
      expected = everyOrder(f);
      for (const DbRow& r : expected[0]) highest = std::max(highest, r.position);
    }
    d.apply(path);
    const std::string damaged = readAll(path);

    DbContext context;
    DbFile f(context, caseDefinition());
    EXPECT_EQ(f.open(), DbStatus::InvalidKey) << f.error().text;
    EXPECT_EQ(readAll(path), damaged);  // only the rebuild writes
    ASSERT_EQ(f.rebuildKeys(), DbStatus::Ok) << f.error().text;
    ASSERT_EQ(f.open(), DbStatus::Ok) << f.error().text;
    EXPECT_TRUE(sameRows(everyOrder(f), expected));
    EXPECT_EQ(integrity(path), "ok");
    clear(f);
    field(f, CAS_NUMBER).setText("new");
    ASSERT_EQ(f.add(), DbStatus::Ok);
    EXPECT_GT(f.position(), highest);
  }
}

TEST(DamagedKeys, DamagedRecordsAreNeverRebuiltOver) {
  ScratchDir dir;
  const std::string path = dir.file("CASES.lvd");
  makeCases(2000);
  overwritePage(path, rootPage(path, "records"), 5);
  const std::string damaged = readAll(path);
  DbContext context;
  DbFile f(context, caseDefinition());
  EXPECT_NE(f.open(), DbStatus::Ok);
  EXPECT_EQ(f.rebuildKeys(), DbStatus::RebuildFailed);
  EXPECT_FALSE(f.error().text.empty());
  EXPECT_EQ(readAll(path), damaged);
}

TEST(BadFiles, AFileThatCannotBeMadeIsReportedAsSuch) {
  ScratchDir dir;
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(dir.file("gone"));  // the current directory no longer exists
  DbContext context;
  DbFile f(context, caseDefinition());
  EXPECT_EQ(f.open(), DbStatus::FileNotFound);
  EXPECT_EQ(f.create(), DbStatus::CreateFailed);
  EXPECT_FALSE(f.error().text.empty());
  std::filesystem::current_path(dir.path());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Access, ReadOnlyOpeningReadsButRefusesWritesAndLeavesTheThreadsOtherFilesWritable) {
  ScratchDir dir;
  makeCases(3);
  DbContext context;
  DbFile f(context, caseDefinition());
  ASSERT_EQ(f.open(Access::ReadOnly), DbStatus::Ok) << f.error().text;
  EXPECT_TRUE(f.isReadOnly());
  ASSERT_EQ(everyOrder(f)[0].size(), 3u);
  clear(f);
  field(f, CAS_NUMBER).setText("N9");
  EXPECT_EQ(f.add(), DbStatus::ReadOnly);

  // Files opened after it have their own mode, and a change of two of them
  // is still stored together.
  DbFile totals(context, totalDefinition()), entries(context, entryDefinition());
  for (DbFile* other : {&totals, &entries}) {
    ASSERT_EQ(openOrCreate(*other), DbStatus::Ok) << other->error().text;
    EXPECT_FALSE(other->isReadOnly());
  }
  {
    platform::DbTransaction tx(context);
    ASSERT_EQ(tx.begin({&totals, &entries}), DbStatus::Ok) << tx.error().text;
    clear(totals);
    field(totals, TOT_CASENUMBER).setText("N1");
    EXPECT_EQ(totals.add(), DbStatus::Ok) << totals.error().text;
    clear(entries);
    field(entries, ENT_FN).setInteger(1);
    field(entries, ENT_CASENUMBER).setText("N1");
    EXPECT_EQ(entries.add(), DbStatus::Ok) << entries.error().text;
    ASSERT_EQ(tx.commit(), DbStatus::Ok) << tx.error().text;
  }
  EXPECT_EQ(sqlValue(dir.file("TOTS.lvd"), "SELECT count(*) FROM records"), "1");
  EXPECT_EQ(sqlValue(dir.file("ENTRIES.lvd"), "SELECT count(*) FROM records"), "1");
  EXPECT_EQ(f.add(), DbStatus::ReadOnly);
}

TEST(Access, AFileThatCannotBeWrittenIsDeniedForWritingOpensReadOnlyAndIsLeftAsItWas) {
  struct Case {
    const char* what;
    mode_t fileMode, dirMode;
    bool othersWritable;  // whether the thread's other files can be written
    const char* says;     // how the error text of the refusal starts
  };
  const Case cases[] = {
      {"a file without write permission", 0444, 0755, true, "no write access to "},
      // Writing needs a journal beside the file.
      {"a file in a directory without write permission", 0644, 0555, false, "no write access to the directory "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    runUnprivileged(dir.path(), [&] {
      struct Restore {  // so that the directory can be removed
        const std::string& path;
        ~Restore() { chmod(path.c_str(), 0755); }
      } restore{dir.path()};
      makeCases(3);
      {
        DbContext maker;
        DbFile totals(maker, totalDefinition());
        ASSERT_EQ(openOrCreate(totals), DbStatus::Ok) << totals.error().text;
      }
      ASSERT_EQ(chmod("CASES.lvd", c.fileMode), 0);
      ASSERT_EQ(chmod(dir.path().c_str(), c.dirMode), 0);
      const std::string before = readAll("CASES.lvd");
      const auto entries = directoryEntries(dir.path());
      {
        DbContext context;
        DbFile f(context, caseDefinition());
        EXPECT_EQ(f.open(), DbStatus::Denied) << f.error().text;
        EXPECT_EQ(f.error().text.rfind(c.says, 0), 0u) << f.error().text;
        ASSERT_EQ(f.open(Access::ReadOnly), DbStatus::Ok) << f.error().text;
        EXPECT_EQ(everyOrder(f)[0].size(), 3u);
        clear(f);
        field(f, CAS_NUMBER).setText("N9");
        EXPECT_EQ(f.add(), DbStatus::ReadOnly);

        DbFile totals(context, totalDefinition());
        EXPECT_EQ(totals.open(), c.othersWritable ? DbStatus::Ok : DbStatus::Denied) << totals.error().text;
        if (c.othersWritable) {
          clear(totals);
          field(totals, TOT_CASENUMBER).setText("N1");
          EXPECT_EQ(totals.add(), DbStatus::Ok) << totals.error().text;
        }
      }
      EXPECT_EQ(readAll("CASES.lvd"), before);
      EXPECT_EQ(directoryEntries(dir.path()), entries);
    });
  }
}

TEST(Access, AFileLockedElsewhereIsWaitedForThenReportedLocked) {
  ScratchDir dir;
  makeCases(1);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("CASES.lvd").c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

  DbContext context;
  DbFile f(context, caseDefinition());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(f.open(), DbStatus::Locked) << f.error().text;
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));

  // With lock recovery the next attempt outwaits a holder that lets go.
  f.setLockRecovery(5);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  });
  EXPECT_EQ(f.open(), DbStatus::Ok) << f.error().text;
  release.join();
  sqlite3_close(holder);
}

}  // namespace
