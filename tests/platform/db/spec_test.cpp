// File specs that cannot be stored are refused before any file is touched.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbStatus;

TEST(FileSpecs, UnsoundSpecsAreRefused) {
  const RecordLayout grouped("Grouped", "GRP", "GROUPED", 8,
                             {platform::GROUP("GRP:PAIR", 8, 0), platform::LONG("GRP:A", 0, "GRP:PAIR"),
                              platform::LONG("GRP:B", 4, "GRP:PAIR")});
  struct Case {
    const char* why;
    FileSpec spec;
  } cases[] = {
      {"no layout", FileSpec{nullptr, {}}},
      {"a key on a field the layout lacks", FileSpec{&caseLayout(), {KeySpec{"K", "", 9, false, false, false}}}},
      {"a key on a group", FileSpec{&grouped, {KeySpec{"K", "", 1, false, false, false}}}},
      {"an auto-numbered key with duplicates", FileSpec{&grouped, {KeySpec{"K", "", 2, false, true, true}}}},
      {"an auto-numbered text key", FileSpec{&caseLayout(), {KeySpec{"K", "", CAS_NAME, true, true, true}}}},
      {"two auto-numbered keys",
       FileSpec{&grouped, {KeySpec{"K1", "", 2, true, true, true}, KeySpec{"K2", "", 3, true, true, true}}}},
      {"two keys of one name",
       FileSpec{&grouped, {KeySpec{"K", "", 2, false, false, false}, KeySpec{"k", "", 3, false, false, false}}}},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(platform::checkFileSpec(c.spec).empty()) << c.why;
  }
  EXPECT_EQ(platform::checkFileSpec(caseSpec()), "");
  EXPECT_EQ(platform::checkFileSpec(entrySpec()), "");

  ScratchDir dir;
  DbContext context;
  DbFile f(context, cases[4].spec);
  EXPECT_EQ(f.open(), DbStatus::Invalid);
  EXPECT_EQ(f.create(), DbStatus::Invalid);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
