// Other processes on the same files: killed in the middle of cascades,
// adding auto-numbered entries at the same time, and leaving reservations
// behind when killed.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "tests/platform/db/child_process.h"
#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::Direction;
using platform::KeyValue;

std::vector<DbRow> everything(DbFile& f, int key) {
  std::vector<DbRow> rows;
  EXPECT_EQ(f.readPage(key, Direction::Forward, std::nullopt, 1000000, std::nullopt, rows), DbStatus::Ok)
      << f.error().text;
  return rows;
}

std::string sqlValue(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::string result;
  char* message = nullptr;
  sqlite3_exec(
      db, sql.c_str(),
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) += values[0] ? values[0] : "NULL";
        return 0;
      },
      &result, &message);
  if (message) result = std::string("error: ") + message;
  sqlite3_free(message);
  sqlite3_close(db);
  return result;
}

// Every case has its totals record and all its entries, under its number,
// and no entry or totals record is without its case. Empty when so.
std::string checkCases(const ScratchDir& dir) {
  for (const char* name : {"CASES.lvd", "ENTRIES.lvd", "TOTS.lvd"}) {
    std::string result = sqlValue(dir.file(name), "PRAGMA integrity_check");
    if (result != "ok") return std::string(name) + ": " + result;
  }
  DbContext context;
  DbFile cases(context, caseSpec()), entries(context, entrySpec()), totals(context, totalSpec());
  for (DbFile* f : {&cases, &entries, &totals})
    if (f->open() != DbStatus::Ok) return "cannot open " + f->path() + ": " + f->error().text;
  struct Case {
    std::int64_t serial, expected, entries = 0, totals = 0;
  };
  std::map<std::string, Case> byNumber;
  for (const DbRow& r : everything(cases, KeyCaseNumber))
    byNumber[textOf(caseLayout(), r.image, CAS_NUMBER)] = {intOf(caseLayout(), r.image, CAS_SERIAL),
                                                           intOf(caseLayout(), r.image, CAS_ENTRIES)};
  for (const DbRow& r : everything(entries, KeyEntryCase)) {
    const std::string number = textOf(entryLayout(), r.image, ENT_CASENUMBER);
    auto it = byNumber.find(number);
    if (it == byNumber.end()) return "an entry of " + number + ", which is no case";
    if (intOf(entryLayout(), r.image, ENT_SEQ) != it->second.serial) return "an entry of another case under " + number;
    ++it->second.entries;
  }
  for (const DbRow& r : everything(totals, 1)) {
    const std::string number = textOf(totalLayout(), r.image, TOT_CASENUMBER);
    auto it = byNumber.find(number);
    if (it == byNumber.end()) return "totals of " + number + ", which is no case";
    ++it->second.totals;
  }
  for (const auto& [number, c] : byNumber)
    if (c.entries != c.expected || c.totals != 1)
      return "case " + number + " has " + std::to_string(c.entries) + " of " + std::to_string(c.expected) +
             " entries and " + std::to_string(c.totals) + " totals";
  return {};
}

bool anyJournal(const ScratchDir& dir) {
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    if (e.path().filename().string().find("-journal") != std::string::npos) return true;
  return false;
}

// LV_DB_CRASH_KILLS sets the number of kills (1000 for the long run).
TEST(Processes, KilledCascadesLeaveEveryCaseWholeOrAbsent) {
  const char* setting = std::getenv("LV_DB_CRASH_KILLS");
  const int kills = setting ? std::max(1, std::atoi(setting)) : 50;
  ScratchDir dir;
  std::mt19937 random(20240611);
  int inTransaction = 0;
  for (int i = 1; i <= kills; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i));
    ChildProcess child({"crash", dir.path(), std::to_string(i)});
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.readLine(), "ready");
    std::this_thread::sleep_for(std::chrono::microseconds(1000 + random() % 40000));
    child.killHard();
    const int status = child.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";
    if (anyJournal(dir)) ++inTransaction;
    const std::string fault = checkCases(dir);

    ASSERT_EQ(fault, "");
  }
  EXPECT_GT(inTransaction, 0);
  std::cout << kills << " kills, " << inTransaction << " of them inside a transaction" << std::endl;
}

TEST(Processes, TwoCopiesWithTwoThreadsEachAddEveryEntryOnce) {
  constexpr int perThread = 500;
  ScratchDir dir;
  ChildProcess first({"share", dir.path(), std::to_string(perThread), "A"});
  ChildProcess second({"share", dir.path(), std::to_string(perThread), "B"});
  ASSERT_EQ(first.readLine(), "ready");
  ASSERT_EQ(second.readLine(), "ready");
  first.writeLine("go");
  second.writeLine("go");
  const std::string doneFirst = first.readLine(std::chrono::seconds(120));
  const std::string doneSecond = second.readLine(std::chrono::seconds(120));
  ASSERT_EQ(doneFirst.rfind("done ", 0), 0u) << doneFirst;
  ASSERT_EQ(doneSecond.rfind("done ", 0), 0u) << doneSecond;
  EXPECT_TRUE(first.exitedCleanly());
  EXPECT_TRUE(second.exitedCleanly());
  std::cout << "refused locks retried: " << doneFirst.substr(5) << " and " << doneSecond.substr(5) << std::endl;

  DbContext context;
  DbFile entries(context, entrySpec());
  ASSERT_EQ(entries.open(), DbStatus::Ok);
  const std::vector<DbRow> rows = everything(entries, KeyEntryFN);
  constexpr std::int64_t total = 4 * perThread;
  ASSERT_EQ(static_cast<std::int64_t>(rows.size()), total);
  std::set<std::string> notes;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(intOf(entryLayout(), rows[i].image, ENT_FN), static_cast<std::int64_t>(i) + 1);
    notes.insert(textOf(entryLayout(), rows[i].image, ENT_NOTE));
  }
  std::set<std::string> expected;
  for (const char* tag : {"A", "B"})
    for (int t = 0; t < 2; ++t)
      for (int i = 0; i < perThread; ++i) expected.insert(std::string(tag) + "-" + std::to_string(t) + "-" + std::to_string(i));
  EXPECT_EQ(notes, expected);
  EXPECT_EQ(sqlValue(dir.file("ENTRIES.lvd"), "SELECT count(*) FROM records WHERE owner IS NOT NULL"), "0");
}

TEST(Processes, AReservationIsPurgedOnlyOnceItsOwnerIsGone) {
  ScratchDir dir;
  const std::string path = dir.file("ENTRIES.lvd");
  auto reservationCount = [&] {
    return sqlValue(path, "SELECT count(*) FROM records WHERE owner IS NOT NULL");
  };
  ChildProcess killed({"hold", dir.path()});
  ASSERT_EQ(killed.readLine().rfind("ready ", 0), 0u);

  DbContext context;
  DbFile entries(context, entrySpec());
  ASSERT_EQ(entries.open(), DbStatus::Ok);
  clear(entries);
  ASSERT_EQ(entries.reserveAutoNumber(), DbStatus::Ok);
  EXPECT_EQ(field(entries, ENT_FN).integer(), 2);
  const std::int64_t ours = entries.position();

  ChildProcess alive({"hold", dir.path()});
  ASSERT_EQ(alive.readLine().rfind("ready ", 0), 0u);
  EXPECT_EQ(reservationCount(), "3");

  // Opening while every owner lives purges nothing.
  DbContext otherThread;
  DbFile other(otherThread, entrySpec());
  ASSERT_EQ(other.open(), DbStatus::Ok);
  other.close();
  EXPECT_EQ(reservationCount(), "3");

  killed.killHard();
  killed.wait();
  ASSERT_EQ(other.open(), DbStatus::Ok);
  EXPECT_EQ(reservationCount(), "2");
  // Ours and the live copy's are left; ours still completes.
  clear(entries);
  field(entries, ENT_FN).setInteger(2);
  field(entries, ENT_NOTE).setText("saved");
  EXPECT_EQ(entries.completeReserved(ours), DbStatus::Ok) << entries.error().text;
  alive.writeLine("go");
  EXPECT_TRUE(alive.exitedCleanly());  // it ended normally and released its own
  EXPECT_EQ(reservationCount(), "0");
}

}  // namespace
