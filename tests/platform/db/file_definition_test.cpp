// File definitions that cannot be stored are refused before any file is touched.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbStatus;

TEST(FileDefinitions, UnsoundSpecsAreRefused) {
  const RecordLayout grouped("Grouped", "GRP", "GROUPED", 8,
                             {platform::GROUP("GRP:PAIR", 8, 0), platform::LONG("GRP:A", 0, "GRP:PAIR"),
                              platform::LONG("GRP:B", 4, "GRP:PAIR")});
  struct Case {
    const char* why;
    FileDefinition definition;
  } cases[] = {
      {"no layout", FileDefinition{nullptr, {}}},
      {"a key on a field the layout lacks",
       FileDefinition{&caseLayout(), {KeyDefinition{"K", "", 9, false, false, false}}}},
      {"a key on a group", FileDefinition{&grouped, {KeyDefinition{"K", "", 1, false, false, false}}}},
      {"an auto-numbered key with duplicates",
       FileDefinition{&grouped, {KeyDefinition{"K", "", 2, false, true, true}}}},
      {"an auto-numbered text key",
       FileDefinition{&caseLayout(), {KeyDefinition{"K", "", CAS_NAME, true, true, true}}}},
      {"two auto-numbered keys",
       FileDefinition{&grouped,
                      {KeyDefinition{"K1", "", 2, true, true, true}, KeyDefinition{"K2", "", 3, true, true, true}}}},
      {"two keys of one name",
       FileDefinition{
           &grouped, {KeyDefinition{"K", "", 2, false, false, false}, KeyDefinition{"k", "", 3, false, false, false}}}},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(platform::checkFileDefinition(c.definition).empty()) << c.why;
  }
  EXPECT_EQ(platform::checkFileDefinition(caseDefinition()), "");
  EXPECT_EQ(platform::checkFileDefinition(entryDefinition()), "");

  ScratchDir dir;
  DbContext context;
  DbFile f(context, cases[4].definition);
  EXPECT_EQ(f.open(), DbStatus::Invalid);
  EXPECT_EQ(f.create(), DbStatus::Invalid);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
