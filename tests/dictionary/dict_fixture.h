#pragma once
// The data layer's tests: a scratch directory as the current directory, a
// scripted message port, and logical threads stood in for by ThreadData
// structures that the test switches between.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/types/clock.h"
#include "platform/ui/message_port.h"
#include "tests/platform/db/scratch.h"

namespace platform {
inline void PrintTo(DbStatus status, std::ostream* os) { *os << dbStatusName(status); }
}  // namespace platform

namespace dicttest {

using namespace dictionary;
using platform::DbRow;
using platform::DbStatus;

using dbtest::readAll;
using dbtest::ScratchDir;
using dbtest::sqlValue;
using dbtest::writeAll;

// Runs SQL on a record file through a connection of its own, as another
// program would.
inline void execOn(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

// A message box as the test saw it.
struct Shown {
  std::string title;
  std::string text;
  unsigned buttons = 0;
  // What the data layer held open while the box was up (nullptr: nothing).
  const char* heldOpen = nullptr;
};

// Answers boxes from a script (then with their default button), runs a
// hook before answering, and keeps every box.
class ScriptedPort final : public platform::MessagePort {
 public:
  unsigned show(const platform::MessageRequest& r) override {
    shown.push_back({r.title, r.text, r.buttons, platform::DbContext::checkAll()});
    if (onShow) onShow(shown.back());
    if (answers.empty()) return r.defaultButton;
    const unsigned a = answers.front();
    answers.pop_front();
    return a;
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const Shown& s : shown) t.push_back(s.title);
    return t;
  }
  std::deque<unsigned> answers;
  std::vector<Shown> shown;
  std::function<void(const Shown&)> onShow;
};

// One logical thread's share of the data layer, set up as thread start
// sets it up.
struct TestThread {
  platform::ErrorManager errors;
  ThreadData data;
  TestThread() {
    data.MakeFiles();
    data.ConstructDictionary(errors);
  }
};

// Every record of a file in the order of `key` (the file must be in use).
inline std::vector<DbRow> rows(platform::DbFile& file, int key) {
  std::vector<DbRow> all;
  EXPECT_EQ(file.readPage(key, platform::Direction::Forward, std::nullopt, 1000000, std::nullopt, all), DbStatus::Ok)
      << file.error().text;
  return all;
}
// A text field of every record, in key order.
inline std::vector<std::string> texts(platform::DbFile& file, int key, int field) {
  std::vector<std::string> out;
  for (DbRow& r : rows(file, key)) out.push_back(platform::FieldRef::of(file.layout().field(field), r.image.data()).text());
  return out;
}

class DictTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setMessagePort(&port);
    setThreadDataSource([this]() -> ThreadData& { return current->data; });
    main = std::make_unique<TestThread>();
    current = main.get();
  }
  void TearDown() override {
    others.clear();
    main.reset();
    setThreadDataSource({});
    platform::setMessagePort(nullptr);
    platform::setClockSource({});
    // No message box was ever shown while a transaction or statement was
    // held open.
    for (const Shown& s : port.shown) EXPECT_EQ(s.heldOpen, nullptr) << s.title;
  }

  // Another logical thread with its own files and objects.
  TestThread& newThread() {
    others.push_back(std::make_unique<TestThread>());
    return *others.back();
  }
  void use(TestThread& t) { current = &t; }

  // What a window does: opens the file with its related files (all four).
  void openFiles() { ASSERT_EQ(Relate_CaseCloseSummary().Open(), 0); }

  void addCase(const std::string& number, const std::string& name = "") {
    ASSERT_EQ(Access_CaseCloseSummary().PrimeRecord(), 0);
    CCS(CCS_CASENUMBER).setText(number);
    CCS(CCS_CASENAME).setText(name);
    ASSERT_EQ(Access_CaseCloseSummary().Insert(), 0) << number;
  }
  void addTotals(const std::string& number) {
    ASSERT_EQ(Access_TOTALS().PrimeRecord(), 0);
    TOT(TOT_CASENUMBER).setText(number);
    ASSERT_EQ(Access_TOTALS().Insert(), 0) << number;
  }
  std::int64_t addEntry(const std::string& number, const std::string& note = "") {
    EXPECT_EQ(Access_HOURLY().PrimeRecord(), 0);
    HOU(HOU_CASENUMBER).setText(number);
    HOU(HOU_BRIEFDESCRIPTIONSERVICES).setText(note);
    EXPECT_EQ(Access_HOURLY().Insert(), 0) << number;
    return HOU(HOU_FN).integer();
  }
  // Loads the case with this number into the buffer.
  void findCase(const std::string& number) {
    CCS(CCS_CASENUMBER).setText(number);
    ASSERT_EQ(Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber), 0) << number;
  }

  ScratchDir dir;
  ScriptedPort port;
  std::unique_ptr<TestThread> main;
  std::vector<std::unique_ptr<TestThread>> others;
  TestThread* current = nullptr;
};

}  // namespace dicttest
