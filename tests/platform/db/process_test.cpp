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

#include "tests/platform/db/crash_loop.h"
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

// Every case has its totals record and all its entries, under its number,
// and no entry or totals record is without its case. Empty when so.
std::string checkCases(const ScratchDir& dir) {
  if (std::string fault = integrityOf(dir, {"CASES.lvd", "ENTRIES.lvd", "TOTS.lvd"}); !fault.empty()) return fault;
  DbContext context;
  DbFile cases(context, caseDefinition()), entries(context, entryDefinition()), totals(context, totalDefinition());
  for (DbFile* f : {&cases, &entries, &totals})
    if (f->open() != DbStatus::Ok) return "cannot open " + f->path() + ": " + f->error().text;
  CaseTally tally;
  for (const DbRow& r : everything(cases, KeyCaseNumber))
    tally.addCase(textOf(caseLayout(), r.image, CAS_NUMBER), std::to_string(intOf(caseLayout(), r.image, CAS_SERIAL)),
                  intOf(caseLayout(), r.image, CAS_ENTRIES));
  for (const DbRow& r : everything(entries, KeyEntryCase))
    tally.addEntry(textOf(entryLayout(), r.image, ENT_CASENUMBER), std::to_string(intOf(entryLayout(), r.image, ENT_SEQ)));
  for (const DbRow& r : everything(totals, 1)) tally.addTotals(textOf(totalLayout(), r.image, TOT_CASENUMBER));
  return tally.fault();
}

TEST(Processes, KilledCascadesLeaveEveryCaseWholeOrAbsent) {
  ScratchDir dir;
  killRepeatedly(dir, {"crash", dir.path()}, 20240611, std::chrono::microseconds(1000), std::chrono::microseconds(40000),
                 [&dir] { return checkCases(dir); });
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
  DbFile entries(context, entryDefinition());
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
  DbFile entries(context, entryDefinition());
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
  DbFile other(otherThread, entryDefinition());
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
