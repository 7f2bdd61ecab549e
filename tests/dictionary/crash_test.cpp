// A child process that deletes and renumbers real cases through the
// relation objects is killed again and again; after each kill every file is
// sound and every case has all its records or none, under one number.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <thread>

#include "tests/dictionary/dict_fixture.h"
#include "tests/platform/db/child_process.h"

namespace {

using namespace dicttest;

std::string integrity(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::string result;
  char* message = nullptr;
  sqlite3_exec(
      db, "PRAGMA integrity_check",
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

std::string textOf(const platform::RecordLayout& layout, std::vector<std::uint8_t>& image, int field) {
  return platform::FieldRef::of(layout.field(field), image.data()).text();
}

// Empty when every case is whole, else the first fault found.
std::string checkCases(const ScratchDir& dir) {
  for (const char* name : {"CASECLOS.lvd", "HOURLY.lvd", "TOTALS.lvd"}) {
    const std::string result = integrity(dir.file(name));
    if (result != "ok") return std::string(name) + ": " + result;
  }
  platform::DbContext context;
  platform::DbFile cases(context, CaseCloseSummarySpec()), entries(context, HOURLYSpec()), totals(context, TOTALSSpec());
  for (platform::DbFile* f : {&cases, &entries, &totals})
    if (f->open() != DbStatus::Ok) return "cannot open " + f->path() + ": " + f->error().text;
  struct Case {
    std::string serial;
    int expected = 0, entries = 0, totals = 0;
  };
  std::map<std::string, Case> byNumber;
  for (DbRow& r : rows(cases, CCS_KeyCaseNumber))
    byNumber[textOf(CaseCloseSummaryLayout(), r.image, CCS_CASENUMBER)] = {
        textOf(CaseCloseSummaryLayout(), r.image, CCS_XXXXXXXX),
        std::atoi(textOf(CaseCloseSummaryLayout(), r.image, CCS_NUMBER).c_str())};
  for (DbRow& r : rows(entries, HOU_KeyCaseNumber)) {
    const std::string number = textOf(HOURLYLayout(), r.image, HOU_CASENUMBER);
    auto it = byNumber.find(number);
    if (it == byNumber.end()) return "an entry of " + number + ", which is no case";
    if (textOf(HOURLYLayout(), r.image, HOU_XXX) != it->second.serial) return "an entry of another case under " + number;
    ++it->second.entries;
  }
  for (DbRow& r : rows(totals, TOT_KeyCaseNumber)) {
    const std::string number = textOf(TOTALSLayout(), r.image, TOT_CASENUMBER);
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
TEST(CrashTest, KilledCascadesLeaveEveryCaseWholeOrAbsent) {
  const char* setting = std::getenv("LV_DB_CRASH_KILLS");
  const int kills = setting ? std::max(1, std::atoi(setting)) : 50;
  ScratchDir dir;
  std::mt19937 random(20070314);
  int inTransaction = 0;
  for (int i = 1; i <= kills; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i));
    dbtest::ChildProcess child({"crash", dir.path(), std::to_string(i)});
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.readLine(), "ready");
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 60000));
    child.killHard();
    const int status = child.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";
    if (anyJournal(dir)) ++inTransaction;
    ASSERT_EQ(checkCases(dir), "");
  }
  EXPECT_GT(inTransaction, 0);
  std::cout << kills << " kills, " << inTransaction << " of them inside a transaction" << std::endl;
}

}  // namespace
