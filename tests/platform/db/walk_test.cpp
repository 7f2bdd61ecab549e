// A walk over a whole file: the pages it reads do not stay resident in the
// process, however large the file, while ordinary reads keep their fast
// memory-mapped path.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "tests/platform/db/db_fixture.h"

namespace dbtest {
namespace {

// Records of 4 KiB, 5,000 of them: a file of some 20 MiB.
constexpr int Records = 5000;

const RecordLayout& bulkLayout() {
  static const RecordLayout layout("Bulk", "BLK", "BULK", 4100,
                                   {platform::LONG("BLK:NUMBER", 0), platform::STRING("BLK:TEXT", 4096, 4)});
  return layout;
}

FileDefinition bulkDefinition() {
  return FileDefinition{&bulkLayout(), {KeyDefinition{"BLK:KeyNumber", "Number", 1, true, false, false}}};
}

// Resident pages of mapped files, in KiB.
long residentFileKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("RssFile:", 0) == 0) return std::stol(line.substr(8));
  return 0;
}

class Walk : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::DbContext context;
    DbFile f(context, bulkDefinition());
    ASSERT_EQ(openOrCreate(f), platform::DbStatus::Ok);
    platform::DbTransaction t(context);
    ASSERT_EQ(t.begin({&f}), platform::DbStatus::Ok);
    for (int i = 1; i <= Records; ++i) {
      clear(f);
      field(f, 1).setInteger(i);
      field(f, 2).setText(std::string(4096, static_cast<char>('A' + i % 26)));
      ASSERT_EQ(f.add(), platform::DbStatus::Ok);
    }
    ASSERT_EQ(t.commit(), platform::DbStatus::Ok);
  }

  // Reads every record in key order, as a report's reader does; the
  // highest growth of the resident mapped pages meanwhile, in KiB.
  static long readAll(DbFile& f) {
    const long before = residentFileKiB();
    long highest = 0;
    std::vector<platform::DbRow> rows;
    std::optional<platform::Seek> from;
    long read = 0;
    do {
      rows.clear();
      EXPECT_EQ(f.readPage(1, platform::Direction::Forward, from, 256, std::nullopt, rows), platform::DbStatus::Ok);
      if (!rows.empty()) from = platform::Seek{f.keyValue(1, rows.back().image.data()), rows.back().position, false};
      read += static_cast<long>(rows.size());
      highest = std::max(highest, residentFileKiB() - before);
    } while (!rows.empty());
    EXPECT_EQ(read, Records);
    return highest;
  }

  ScratchDir dir;
};

TEST_F(Walk, AWalkKeepsTheMapForItsShareAndThenReadsWithoutIt) {
  constexpr long FileKiB = Records * 4;  // at least
  constexpr std::int64_t Share = 4 << 20;
  {
    // Read through the map, the file's pages stay resident.
    platform::DbContext context;
    DbFile f(context, bulkDefinition());
    ASSERT_EQ(f.open(), platform::DbStatus::Ok);
    EXPECT_FALSE(f.walk());
    EXPECT_GT(readAll(f), FileKiB / 2);
  }
  {
    // A walk whose share holds the whole file keeps the map.
    platform::DbContext context;
    DbFile f(context, bulkDefinition());
    ASSERT_EQ(f.open(), platform::DbStatus::Ok);
    f.setWalk(true, std::int64_t{1} << 30);
    EXPECT_GT(readAll(f), FileKiB / 2);
    EXPECT_TRUE(f.mapped());
  }
  platform::DbContext context;
  DbFile f(context, bulkDefinition());
  ASSERT_EQ(f.open(), platform::DbStatus::Ok);
  f.setWalk(true, Share);
  EXPECT_TRUE(f.mapped());
  // Its share, and a page of records more at the most; then no map.
  EXPECT_LT(readAll(f), Share / 1024 + 4096);
  EXPECT_FALSE(f.mapped());
  // It holds when the file is closed and opened again.
  f.close();
  ASSERT_EQ(f.open(), platform::DbStatus::Ok);
  EXPECT_TRUE(f.walk());
  EXPECT_LT(readAll(f), 1024);
  // Switched off, the file's reads take the map again.
  f.setWalk(false);
  EXPECT_TRUE(f.mapped());
  EXPECT_GT(readAll(f), FileKiB / 2);
}

}  // namespace
}  // namespace dbtest
