// Record tables damaged below the keys: the rebuild must end, whatever
// order the damaged table gives its records in.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::Direction;

// Ends the test program when the scope it guards runs too long: a rebuild
// that never ends would otherwise hold the test run until its timeout.
class Watchdog {
 public:
  Watchdog(std::chrono::seconds limit, const char* what) : thread_([this, limit, what] {
    std::unique_lock lock(mutex_);
    if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
      std::fprintf(stderr, "%s did not end within %lld seconds\n", what, static_cast<long long>(limit.count()));
      std::abort();
    }
  }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

std::size_t varintLength(const std::string& bytes, std::size_t at) {
  std::size_t n = 1;
  while (n < 9 && (static_cast<unsigned char>(bytes[at + n - 1]) & 0x80)) ++n;
  return n;
}

// Gives the record stored second in the record table's one page the
// position `position`, so the page holds its positions out of order.
void misplaceSecondRecord(const std::string& path, unsigned char position) {
  std::string bytes = readAll(path);
  const std::size_t pageSize =
      (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
  const std::size_t root = std::stoul(sqlValue(path, "SELECT rootpage FROM sqlite_schema WHERE name = 'records'"));
  const std::size_t page = (root - 1) * pageSize;
  ASSERT_EQ(bytes[page], 0x0D) << "the records are meant to fit in one leaf page";
  const auto at = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(bytes[i])); };
  const std::size_t cell = page + ((at(page + 10) << 8) | at(page + 11));  // the second cell's pointer
  const std::size_t rowid = cell + varintLength(bytes, cell);
  ASSERT_EQ(bytes[rowid], 2) << "the second cell holds position 2";
  bytes[rowid] = static_cast<char>(position);
  writeAll(path, bytes);
}

TEST(DamagedRecords, PositionsOutOfOrderAreRebuiltByCopyingTheRecords) {
  ScratchDir dir;
  const std::string path = dir.file("CASES.lvd");
  {
    DbContext c;
    DbFile f(c, caseDefinition());
    ASSERT_EQ(openOrCreate(f), DbStatus::Ok);
    for (const char* number : {"N1", "N2", "N3"}) {
      clear(f);
      field(f, CAS_NUMBER).setText(number);
      ASSERT_EQ(f.add(), DbStatus::Ok) << f.error().text;
    }
  }
  // Positions 1, 48, 3 in the page: a read of the records after position 3
  // gives 48 and then 3 again.
  misplaceSecondRecord(path, 48);

  DbContext context;
  DbFile f(context, caseDefinition());
  EXPECT_NE(f.open(), DbStatus::Ok);
  {
    Watchdog watchdog(std::chrono::seconds(30), "rebuilding the keys of a table with positions out of order");
    ASSERT_EQ(f.rebuildKeys(), DbStatus::Ok) << f.error().text;
  }
  ASSERT_EQ(f.open(), DbStatus::Ok) << f.error().text;
  std::vector<DbRow> rows;
  ASSERT_EQ(f.readPage(KeyCaseNumber, Direction::Forward, std::nullopt, 10, std::nullopt, rows), DbStatus::Ok);
  std::set<std::string> numbers;
  for (const DbRow& row : rows) numbers.insert(textOf(caseLayout(), row.image, CAS_NUMBER));
  EXPECT_EQ(numbers, (std::set<std::string>{"N1", "N2", "N3"})) << "no record is lost";
  EXPECT_EQ(integrityOf(dir, {"CASES.lvd"}), "");
}

}  // namespace
