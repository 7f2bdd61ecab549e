// Opening the record files through the access objects: creation on first
// use, and the messages of files that are locked, damaged or not ours.

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/types/halt.h"
#include "tests/dictionary/dict_fixture.h"
#include "tests/platform/db/child_process.h"

namespace {

using namespace dicttest;
using platform::LevelBenign;
using platform::LevelNotify;

// The exit code of a program halt that `run` ends in, -1 when it returns.
template <class Run>
int haltCode(Run run) {
  try {
    run();
  } catch (const platform::ProgramHalt& halt) {
    return halt.exitCode;
  }
  return -1;
}

using OpenTest = DictTest;

TEST_F(OpenTest, EachFileIsCreatedWithItsKeysOnItsFirstUse) {
  openFiles();
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));  // opening only counts a use
  struct Case {
    platform::FileManager& access;
    int key;
    const char* stored;
    int keys;
  };
  const Case cases[] = {
      {Access_CaseCloseSummary(), CCS_KeyCaseNumber, "CASECLOS.lvd", 4},
      {Access_HOURLY(), HOU_KEYFN, "HOURLY.lvd", 5},
      {Access_RateMilage(), RTM_KeyDate, "RATEMILA.lvd", 2},
      {Access_TOTALS(), TOT_KeyCaseNumber, "TOTALS.lvd", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    EXPECT_FALSE(std::filesystem::exists(dir.file(c.stored)));
    EXPECT_EQ(c.access.TryFetch(c.key), LevelNotify);  // created, empty
    EXPECT_TRUE(rows(c.access.file(), c.key).empty());
    EXPECT_EQ(sqlValue(dir.file(c.stored), "SELECT count(*) FROM sqlite_schema WHERE name LIKE 'key_%'"),
              std::to_string(c.keys));
  }
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(OpenTest, AFileThatCannotBeUsedGivesItsMessageAndIsLeftAsItWas) {
  struct Case {
    const char* what;
    std::function<void(const ScratchDir&)> make;
    bool open;  // a window opened the files
    std::vector<std::string> titles;
    std::string text;
    int halt;  // the exit code, -1 when the program goes on
    std::string fatal = {};  // a part of the fatal box's text, when it is not the first box
  };
  auto makeCases = [](int n) {
    TestThread maker;
    for (int i = 0; i < n; ++i) {
      ThreadData& t = maker.data;
      platform::FileManager& a = t.access(CaseCloseSummaryFile);
      if (i == 0) a.Open();
      a.PrimeRecord();
      platform::FieldRef::of(CaseCloseSummaryLayout().field(CCS_CASENUMBER), t.file(CaseCloseSummaryFile).record())
          .setText("CR-" + std::to_string(i));
      a.Insert();
    }
  };
  const std::string fatalAccess = "File CaseCloseSummary could not be opened.  Error: ";
  const Case cases[] = {
      {"random bytes",
       [](const ScratchDir& d) {
         std::mt19937 random(7);
         std::string bytes(30000, '\0');
         for (char& c : bytes) c = static_cast<char>(random());
         writeAll(d.file("CASECLOS.lvd"), bytes);
       },
       true, {"File Access Error", "Halt"}, fatalAccess, platform::ExitFatalError},
      {"a truncated file",
       [&](const ScratchDir& d) {
         makeCases(60);
         std::filesystem::resize_file(d.file("CASECLOS.lvd"), std::filesystem::file_size(d.file("CASECLOS.lvd")) / 2);
       },
       true, {"File Access Error", "Halt"}, fatalAccess, platform::ExitFatalError},
      {"an empty file", [](const ScratchDir& d) { writeAll(d.file("CASECLOS.lvd"), ""); }, true,
       {"File Access Error", "Halt"}, fatalAccess, platform::ExitFatalError,
       "CASECLOS.lvd is not a record file (it is empty)."},
      {"another program's database",
       [](const ScratchDir& d) { sqlValue(d.file("CASECLOS.lvd"), "CREATE TABLE notes(x); INSERT INTO notes VALUES(1)"); },
       true, {"File Access Error", "Halt"}, fatalAccess, platform::ExitFatalError},
      {"a damaged key",
       [&](const ScratchDir& d) {
         makeCases(5);
         sqlValue(d.file("CASECLOS.lvd"), "UPDATE records SET k2 = X'00' WHERE pos = 1");
       },
       true, {"Invalid Key"}, "CaseCloseSummary key file is invalid. Key must be rebuilt.", -1},
      {"garbage in a key's pages",
       [&](const ScratchDir& d) {
         makeCases(5);
         const std::string path = d.file("CASECLOS.lvd");
         const long page = std::stol(sqlValue(path, "SELECT rootpage FROM sqlite_schema WHERE name = 'key_2'"));
         std::mt19937 random(3);
         std::string garbage(8192, '\0');
         for (char& c : garbage) c = static_cast<char>(random());
         std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp((page - 1) * 8192);
         f << garbage;
       },
       true, {"Invalid Key"}, "CaseCloseSummary key file is invalid. Key must be rebuilt.", -1},
      {"a key that cannot be rebuilt: a record in the middle of the file is damaged",
       [&](const ScratchDir& d) {
         makeCases(60);
         sqlValue(d.file("CASECLOS.lvd"),
                  "UPDATE records SET k2 = X'00' WHERE pos = 1; UPDATE records SET image = X'00' WHERE pos = 30");
       },
       true, {"Invalid Key", "Key was not built", "Halt"}, "CaseCloseSummary key file is invalid. Key must be rebuilt.",
       platform::ExitFatalError, ") repairing key for CaseCloseSummary.  Press OK"},
      {"used before any window opened it", [](const ScratchDir&) {}, false, {"File Usage Error", "Halt"},
       "Attempt to use file (CaseCloseSummary) before it was opened  Press OK to end this application",
       platform::ExitFatalError},
      {"a directory in which nothing can be created",
       [](const ScratchDir& d) {
         std::filesystem::create_directory(d.file("gone"));
         std::filesystem::current_path(d.file("gone"));
         std::filesystem::remove(d.file("gone"));
       },
       true, {"File Creation Error", "Halt"}, "Error: (", platform::ExitFatalError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    c.make(fresh);
    const bool existed = std::filesystem::exists(fresh.file("CASECLOS.lvd"));
    const std::string before = readAll(fresh.file("CASECLOS.lvd"));
    {
      TestThread thread;
      use(thread);
      if (c.open) openFiles();
      port.shown.clear();
      CCS(CCS_CASENUMBER).setText("CR-1");
      int level = -1;
      EXPECT_EQ(haltCode([&] { level = Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber); }), c.halt);
      EXPECT_EQ(port.titles(), c.titles);
      if (!port.shown.empty()) {
        EXPECT_EQ(port.shown[0].text.rfind(c.text, 0), 0u) << port.shown[0].text;
        if (c.halt != -1) {
          const std::size_t fatal = port.shown.size() - 2;
          EXPECT_EQ(port.shown.back().text, port.shown[fatal].title);  // "Halt" names the fatal message
          EXPECT_TRUE(port.shown[fatal].text.ends_with("  Press OK to end this application")) << port.shown[fatal].text;
          if (!c.fatal.empty()) {
            EXPECT_NE(port.shown[fatal].text.find(c.fatal), std::string::npos) << port.shown[fatal].text;
          }
        }
      }
      if (c.halt == -1) {
        EXPECT_EQ(level, LevelBenign);  // rebuilt, and the case is found by its key
        EXPECT_EQ(CCS(CCS_CASENUMBER).text(), "CR-1");
      } else if (existed) {
        EXPECT_EQ(readAll(fresh.file("CASECLOS.lvd")), before);  // never written to
      }
      use(*main);
    }
    std::filesystem::current_path(fresh.path());
  }
}

TEST_F(OpenTest, AFileThatCannotBeWrittenIsOpenedReadOnlyWithAMessageAndTheOthersKeepTheirMode) {
  const char* const stored[] = {"CASECLOS.lvd", "HOURLY.lvd", "RATEMILA.lvd", "TOTALS.lvd"};
  struct Case {
    const char* what;
    const char* readOnly;                  // the file made read-only; nullptr: the directory
    std::vector<std::string> deniedFiles;  // the files the "Access Denied" messages name, in order
  };
  const Case cases[] = {
      // The entries are read first, so the thread's connection starts with
      // the read-only file.
      {"HOURLY.lvd without write permission", "HOURLY.lvd", {"HOURLY"}},
      // No journal can be made beside them.
      {"the files in a directory without write permission", nullptr, {"HOURLY", "CaseCloseSummary"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    dbtest::runUnprivileged(fresh.path(), [&] {
      struct Restore {  // so that the directory can be removed
        const std::string& path;
        ~Restore() { chmod(path.c_str(), 0755); }
      } restore{fresh.path()};
      std::int64_t entry = 0;
      {
        TestThread maker;
        use(maker);
        openFiles();
        addCase("CR-1");
        entry = addEntry("CR-1");
        EXPECT_EQ(Access_RateMilage().TryFetch(RTM_KeyDate), LevelNotify);  // made, empty
        addTotals("CR-1");
        use(*main);
      }
      ASSERT_EQ(chmod(c.readOnly ? c.readOnly : fresh.path().c_str(), c.readOnly ? 0444 : 0555), 0);
      std::vector<std::string> before;
      for (const char* name : stored) before.push_back(readAll(name));
      {
        TestThread thread;
        use(thread);
        openFiles();
        port.shown.clear();
        HOU(HOU_FN).setInteger(entry);
        EXPECT_EQ(haltCode([&] { EXPECT_EQ(Access_HOURLY().TryFetch(HOU_KEYFN), LevelBenign); }), -1);
        CCS(CCS_CASENUMBER).setText("CR-1");
        EXPECT_EQ(haltCode([&] { EXPECT_EQ(Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber), LevelBenign); }), -1);
        std::vector<std::string> texts;
        for (const Shown& s : port.shown) {
          EXPECT_EQ(s.title, "Access Denied");
          texts.push_back(s.text);
        }
        std::vector<std::string> expected;
        for (const std::string& file : c.deniedFiles)
          expected.push_back("Could not get write access to " + file + " so trying read-only.");
        EXPECT_EQ(texts, expected);
        EXPECT_TRUE(HOURLY().isReadOnly());

        // A case is added where its file can be written, and refused with a
        // message where it cannot.
        const bool casesWritable = c.readOnly != nullptr;
        EXPECT_EQ(CaseCloseSummary().isReadOnly(), !casesWritable);
        port.shown.clear();
        ASSERT_EQ(Access_CaseCloseSummary().PrimeRecord(), 0);
        CCS(CCS_CASENUMBER).setText("CR-2");
        EXPECT_EQ(Access_CaseCloseSummary().Insert(), casesWritable ? LevelBenign : LevelNotify);
        EXPECT_EQ(port.titles(), casesWritable ? std::vector<std::string>{}
                                               : std::vector<std::string>{"Record Insert Error"});
        use(*main);
      }
      // What could not be written is as it was, byte for byte.
      for (std::size_t i = 0; i < std::size(stored); ++i) {
        if (c.readOnly && std::string(stored[i]) != c.readOnly) continue;
        EXPECT_EQ(readAll(stored[i]), before[i]) << stored[i];
      }
    });
  }
}

TEST_F(OpenTest, ALockedFileIsWaitedForThenOpenedReadOnly) {
  openFiles();
  addCase("CR-1");
  Relate_CaseCloseSummary().Close();
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("CASECLOS.lvd").c_str(), &holder), SQLITE_OK);
  auto lock = [&] { ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK); };
  auto unlock = [&] { sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr); };

  // The holder lets go while the retry with lock recovery waits.
  lock();
  {
    TestThread thread;
    use(thread);
    openFiles();
    std::thread release([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(2500));
      unlock();
    });
    findCase("CR-1");
    release.join();
    EXPECT_TRUE(port.shown.empty());
    EXPECT_FALSE(CaseCloseSummary().isReadOnly());
    use(*main);
  }

  // The holder keeps it: the user is told, and the file is opened for
  // reading only (here the holder lets go while the notice is up).
  lock();
  {
    TestThread thread;
    use(thread);
    openFiles();
    Access_CaseCloseSummary().LOCKRECOVER = 1;  // a short second wait
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration waited{};
    port.onShow = [&](const Shown&) {
      waited = std::chrono::steady_clock::now() - start;
      unlock();
    };
    findCase("CR-1");
    port.onShow = nullptr;
    // Two attempts for writing, each waiting its 2 seconds, came before it.
    EXPECT_GE(waited, std::chrono::milliseconds(3900));
    ASSERT_EQ(port.titles(), (std::vector<std::string>{"Access Denied"}));
    EXPECT_EQ(port.shown[0].text, "Could not get write access to CaseCloseSummary so trying read-only.");
    EXPECT_TRUE(CaseCloseSummary().isReadOnly());
    // Writing fails with a message and nothing else happens.
    port.shown.clear();
    ASSERT_EQ(Access_CaseCloseSummary().PrimeRecord(), 0);
    CCS(CCS_CASENUMBER).setText("CR-2");
    EXPECT_EQ(Access_CaseCloseSummary().Insert(), LevelNotify);
    EXPECT_EQ(port.titles(), (std::vector<std::string>{"Record Insert Error"}));
    use(*main);
  }
  sqlite3_close(holder);
}

}  // namespace
