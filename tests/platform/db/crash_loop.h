#pragma once
// The crash tests' kill loop: a child process that changes cases with their
// entries and totals is killed again and again, and the count of what each
// case holds afterwards.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/db/child_process.h"
#include "tests/platform/db/scratch.h"

namespace dbtest {

// What the crash children keep: cases, each stamped with a serial and the
// number of entries it should have, and their entries (stamped with the
// case's serial) and totals records. A case must have all of them under its
// number, and nothing may be left without its case.
class CaseTally {
 public:
  void addCase(const std::string& number, std::string serial, std::int64_t expected) {
    cases_[number] = {std::move(serial), expected, 0, 0};
  }
  void addEntry(const std::string& number, const std::string& serial) {
    auto it = cases_.find(number);
    if (it == cases_.end()) return fail("an entry of " + number + ", which is no case");
    if (it->second.serial != serial) return fail("an entry of another case under " + number);
    ++it->second.entries;
  }
  void addTotals(const std::string& number) {
    auto it = cases_.find(number);
    if (it == cases_.end()) return fail("totals of " + number + ", which is no case");
    ++it->second.totals;
  }
  // Empty when every case is whole, else the first fault found.
  std::string fault() const {
    if (!fault_.empty()) return fault_;
    for (const auto& [number, c] : cases_)
      if (c.entries != c.expected || c.totals != 1)
        return "case " + number + " has " + std::to_string(c.entries) + " of " + std::to_string(c.expected) +
               " entries and " + std::to_string(c.totals) + " totals";
    return {};
  }

 private:
  struct Case {
    std::string serial;
    std::int64_t expected, entries, totals;
  };
  void fail(std::string why) {
    if (fault_.empty()) fault_ = std::move(why);
  }
  std::map<std::string, Case> cases_;
  std::string fault_;
};

// Starts the crash child (`args` and the kill's number) again and again in
// `dir`, kills it with SIGKILL after a random pause of `minPause` to
// `minPause + spread` once it is ready, and asks `check` after each kill
// (empty when the files are sound). LV_DB_CRASH_KILLS sets the number of
// kills, 50 by default (1000 for the long run).
inline void killRepeatedly(const ScratchDir& dir, const std::vector<std::string>& args, std::uint32_t seed,
                           std::chrono::microseconds minPause, std::chrono::microseconds spread,
                           const std::function<std::string()>& check) {
  const char* setting = std::getenv("LV_DB_CRASH_KILLS");
  const int kills = setting ? std::max(1, std::atoi(setting)) : 50;
  std::mt19937 random(seed);
  auto anyJournal = [&dir] {
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      if (e.path().filename().string().find("-journal") != std::string::npos) return true;
    return false;
  };
  int inTransaction = 0;
  for (int i = 1; i <= kills; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i));
    std::vector<std::string> childArgs = args;
    childArgs.push_back(std::to_string(i));
    ChildProcess child(childArgs);
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.readLine(), "ready");
    std::this_thread::sleep_for(minPause + std::chrono::microseconds(random() % spread.count()));
    child.killHard();
    const int status = child.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";
    if (anyJournal()) ++inTransaction;
    ASSERT_EQ(check(), "");
  }
  EXPECT_GT(inTransaction, 0);
  std::cout << kills << " kills, " << inTransaction << " of them inside a transaction" << std::endl;
}

}  // namespace dbtest
