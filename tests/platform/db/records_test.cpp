// Records and keys: adding, reading, changing and deleting, key values and
// key order.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::Direction;
using platform::KeyValue;
using platform::Seek;

class Records : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(openOrCreate(cases), DbStatus::Ok) << cases.error().text; }

  DbStatus addCase(const std::string& number, const std::string& name = "", int day = 0, const char* rate = "0") {
    clear(cases);
    field(cases, CAS_NUMBER).setText(number);
    field(cases, CAS_NAME).setText(name);
    field(cases, CAS_DATE).setDay(day);
    setDecimal(cases, CAS_RATE, rate);
    return cases.add();
  }

  std::vector<DbRow> all(int key, Direction d = Direction::Forward) {
    std::vector<DbRow> rows;
    EXPECT_EQ(cases.readPage(key, d, std::nullopt, 1000, std::nullopt, rows), DbStatus::Ok) << cases.error().text;
    return rows;
  }

  std::vector<std::string> names(const std::vector<DbRow>& rows, int fieldNumber) {
    std::vector<std::string> out;
    for (const DbRow& r : rows) out.push_back(textOf(caseLayout(), r.image, fieldNumber));
    return out;
  }

  ScratchDir dir;
  DbContext context;
  DbFile cases{context, caseDefinition()};
};

TEST_F(Records, MissingFileIsCreatedEmptyUnderItsStoredName) {
  EXPECT_TRUE(std::filesystem::exists(dir.file("CASES.lvd")));
  EXPECT_EQ(cases.path(), dir.file("CASES.lvd"));
  EXPECT_TRUE(all(KeyCaseDate).empty());
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);

  DbContext other;
  DbFile again(other, caseDefinition());
  EXPECT_EQ(again.open(), DbStatus::Ok) << again.error().text;
}

TEST_F(Records, ChangeAndDeleteOnlyTheImageThatWasRead) {
  ASSERT_EQ(addCase("C-1", "first"), DbStatus::Ok);
  const std::int64_t pos = cases.position();
  const std::vector<std::uint8_t> original(cases.image().begin(), cases.image().end());

  // Another thread changes the record in between.
  DbContext otherContext;
  DbFile other(otherContext, caseDefinition());
  ASSERT_EQ(other.open(), DbStatus::Ok) << other.error().text;
  ASSERT_EQ(other.get(pos), DbStatus::Ok);
  const std::vector<std::uint8_t> seenByOther(other.image().begin(), other.image().end());
  field(other, CAS_NAME).setText("theirs");
  ASSERT_EQ(other.change(pos, seenByOther), DbStatus::Ok);

  field(cases, CAS_NAME).setText("mine");
  EXPECT_EQ(cases.change(pos, original), DbStatus::Changed);
  EXPECT_NE(cases.error().text.find("changed by another station"), std::string::npos);
  EXPECT_EQ(cases.remove(pos, std::span<const std::uint8_t>(original)), DbStatus::Changed);

  ASSERT_EQ(cases.get(pos), DbStatus::Ok);
  EXPECT_EQ(field(cases, CAS_NAME).text(), "theirs");
  const std::vector<std::uint8_t> current(cases.image().begin(), cases.image().end());
  field(cases, CAS_NAME).setText("mine");
  EXPECT_EQ(cases.change(pos, current), DbStatus::Ok);
  ASSERT_EQ(other.get(pos), DbStatus::Ok);
  EXPECT_EQ(field(other, CAS_NAME).text(), "mine");

  EXPECT_EQ(cases.remove(pos), DbStatus::Ok);
  EXPECT_EQ(cases.get(pos), DbStatus::NotFound);
  EXPECT_EQ(cases.change(pos, current), DbStatus::NotFound);
  EXPECT_EQ(cases.remove(pos), DbStatus::NotFound);
}

TEST_F(Records, APositionIsNeverGivenToAnotherRecord) {
  ASSERT_EQ(addCase("OLD"), DbStatus::Ok);
  const std::int64_t stale = cases.position();
  const std::vector<std::uint8_t> oldImage(cases.image().begin(), cases.image().end());
  ASSERT_EQ(cases.remove(stale), DbStatus::Ok);
  // The deleted record had the highest position; a new one must not take it.
  ASSERT_EQ(addCase("NEW"), DbStatus::Ok);
  EXPECT_GT(cases.position(), stale);

  EXPECT_EQ(cases.get(stale), DbStatus::NotFound);
  EXPECT_EQ(field(cases, CAS_NUMBER).text(), "NEW");  // buffer left as it was
  field(cases, CAS_NAME).setText("overwritten");
  EXPECT_EQ(cases.change(stale, oldImage), DbStatus::NotFound);
  EXPECT_EQ(cases.remove(stale), DbStatus::NotFound);
  EXPECT_EQ(names(all(KeyCaseNumber), CAS_NAME), std::vector<std::string>{""});
}

TEST_F(Records, UniqueTextKeysIgnoreLetterCaseButNotBlankValues) {
  ASSERT_EQ(addCase("cr-07-1"), DbStatus::Ok);
  ASSERT_EQ(addCase("\xE9lan"), DbStatus::Ok);  // Latin-1 "élan"
  for (const char* clash : {"CR-07-1", "Cr-07-1   ", "\xC9LAN"}) {
    EXPECT_EQ(addCase(clash), DbStatus::Duplicate) << clash;
    EXPECT_EQ(cases.error().duplicateKey, KeyCaseNumber);
    EXPECT_FALSE(cases.error().text.empty());
  }
  // Any number of cases may have no number.
  EXPECT_EQ(addCase(""), DbStatus::Ok);
  EXPECT_EQ(addCase("   "), DbStatus::Ok);
  EXPECT_EQ(all(KeyCaseDate).size(), 4u);

  // A change that would clash is refused too, and leaves the record alone.
  ASSERT_EQ(addCase("CR-08"), DbStatus::Ok);
  const std::int64_t pos = cases.position();
  const std::vector<std::uint8_t> original(cases.image().begin(), cases.image().end());
  field(cases, CAS_NUMBER).setText("cR-07-1");
  EXPECT_EQ(cases.change(pos, original), DbStatus::Duplicate);
  EXPECT_EQ(cases.error().duplicateKey, KeyCaseNumber);
  ASSERT_EQ(cases.get(pos), DbStatus::Ok);
  EXPECT_EQ(field(cases, CAS_NUMBER).text(), "CR-08");
}

TEST(RecordKeys, DuplicateNamesTheFirstUniqueKeyThatHoldsTheValue) {
  // Unique keys 2 and 3 around a key that allows duplicates.
  FileDefinition definition{&caseLayout(),
                            {KeyDefinition{"CAS:KeyName", "Case Name", CAS_NAME, false, true, false},
                             KeyDefinition{"CAS:KeyNumber", "Case Number", CAS_NUMBER, true, true, false},
                             KeyDefinition{"CAS:KeySerial", "Serial", CAS_SERIAL, true, true, false}}};
  ScratchDir dir;
  DbContext context;
  DbFile f(context, definition);
  ASSERT_EQ(openOrCreate(f), DbStatus::Ok);
  auto add = [&](const char* name, const char* number, int serial) {
    clear(f);
    field(f, CAS_NAME).setText(name);
    field(f, CAS_NUMBER).setText(number);
    field(f, CAS_SERIAL).setInteger(serial);
    return f.add();
  };
  ASSERT_EQ(add("same", "N1", 1), DbStatus::Ok);
  struct Case {
    const char* name;
    const char* number;
    int serial;
    int key;
  } cases[] = {{"same", "N2", 1, 3}, {"same", "n1", 1, 2}, {"other", "N1", 2, 2}};
  for (const Case& c : cases) {
    EXPECT_EQ(add(c.name, c.number, c.serial), DbStatus::Duplicate) << c.number << " " << c.serial;
    EXPECT_EQ(f.error().duplicateKey, c.key) << c.number << " " << c.serial;
  }
  EXPECT_EQ(add("same", "N2", 2), DbStatus::Ok);  // a duplicate name is no clash
}

TEST_F(Records, EmptyValuesAreMissingOnlyFromTheirOwnKeysOrder) {
  ASSERT_EQ(addCase("N1", ""), DbStatus::Ok);      // no name
  ASSERT_EQ(addCase("", "Named"), DbStatus::Ok);   // no number
  ASSERT_EQ(addCase("N3", "Rated", 0, "0.5"), DbStatus::Ok);

  EXPECT_EQ(names(all(KeyCaseName), CAS_NAME), (std::vector<std::string>{"Named", "Rated"}));
  EXPECT_EQ(names(all(KeyCaseNumber), CAS_NUMBER), (std::vector<std::string>{"N1", "N3"}));
  EXPECT_EQ(names(all(KeyCaseRate), CAS_NUMBER), std::vector<std::string>{"N3"});
  EXPECT_EQ(all(KeyCaseDate).size(), 3u);  // the date key keeps "no date"

  clear(cases);
  field(cases, CAS_NUMBER).setText("keep");
  EXPECT_EQ(cases.fetch(KeyCaseName), DbStatus::NotFound);
  EXPECT_EQ(field(cases, CAS_NUMBER).text(), "keep");
  std::vector<DbRow> rows;
  EXPECT_EQ(cases.readPage(KeyCaseName, Direction::Forward, std::nullopt, 10, KeyValue{std::monostate{}}, rows),
            DbStatus::Ok);
  EXPECT_TRUE(rows.empty());
}

TEST_F(Records, KeysOrderByValueNeverByBytes) {
  // A DATE stores its day first, a packed decimal its sign first.
  const int jan2_2000 = platform::dayNumber(2000, 1, 2);
  const int feb1_1999 = platform::dayNumber(1999, 2, 1);
  const int dec31_1999 = platform::dayNumber(1999, 12, 31);
  ASSERT_EQ(addCase("a", "cherry", jan2_2000, "-5"), DbStatus::Ok);
  ASSERT_EQ(addCase("b", "Banana", feb1_1999, "10"), DbStatus::Ok);
  ASSERT_EQ(addCase("c", "apple", dec31_1999, "2.25"), DbStatus::Ok);
  ASSERT_EQ(addCase("d", "\xE0pfel", 0, "-0.5"), DbStatus::Ok);  // "àpfel": à sorts as À, after the ASCII letters

  EXPECT_EQ(names(all(KeyCaseDate), CAS_NUMBER), (std::vector<std::string>{"d", "b", "c", "a"}));
  EXPECT_EQ(names(all(KeyCaseRate), CAS_NUMBER), (std::vector<std::string>{"a", "d", "c", "b"}));
  EXPECT_EQ(names(all(KeyCaseName), CAS_NUMBER), (std::vector<std::string>{"c", "b", "a", "d"}));
  EXPECT_EQ(names(all(KeyCaseName, Direction::Backward), CAS_NUMBER), (std::vector<std::string>{"d", "a", "b", "c"}));

  // Fetching by a value typed in another case finds the record.
  clear(cases);
  field(cases, CAS_NAME).setText("BANANA");
  ASSERT_EQ(cases.fetch(KeyCaseName), DbStatus::Ok);
  EXPECT_EQ(field(cases, CAS_NUMBER).text(), "b");
  KeyValue highest;
  ASSERT_EQ(cases.maxValue(KeyCaseRate, highest), DbStatus::Ok);
  EXPECT_EQ(highest, KeyValue{std::int64_t{1000}});  // 10.00 scaled by 10^2
}

// Pages of a key with many equal values, read forward and backward from every
// kind of start, add up to the key's whole order.
TEST_F(Records, PagesCoverTheKeyOrderFromAnyStart) {
  const char* const names[] = {"b", "a", "c", "a", "b", "a", "a", "c", "b", "a", "d", "a"};
  for (int i = 0; i < 36; ++i) ASSERT_EQ(addCase("N" + std::to_string(i), names[i % 12]), DbStatus::Ok);
  const std::vector<DbRow> forward = all(KeyCaseName);
  ASSERT_EQ(forward.size(), 36u);
  std::vector<std::pair<std::string, std::int64_t>> expected;
  for (const DbRow& r : forward) expected.emplace_back(textOf(caseLayout(), r.image, CAS_NAME), r.position);
  ASSERT_TRUE(std::is_sorted(expected.begin(), expected.end()));

  auto walk = [&](Direction d, int pageSize, std::optional<KeyValue> equal) {
    std::vector<std::int64_t> seen;
    std::optional<Seek> from;
    for (;;) {
      std::vector<DbRow> page;
      EXPECT_EQ(cases.readPage(KeyCaseName, d, from, pageSize, equal, page), DbStatus::Ok);
      for (const DbRow& r : page) seen.push_back(r.position);
      if (static_cast<int>(page.size()) < pageSize) return seen;
      from = Seek{cases.keyValue(KeyCaseName, page.back().image.data()), page.back().position, false};
    }
  };
  std::vector<std::int64_t> order, aOnly;
  for (const auto& [name, pos] : expected) {
    order.push_back(pos);
    if (name == "a") aOnly.push_back(pos);
  }
  std::vector<std::int64_t> reversed(order.rbegin(), order.rend());
  std::vector<std::int64_t> aReversed(aOnly.rbegin(), aOnly.rend());
  for (int pageSize : {1, 5, 7, 36, 50}) {
    EXPECT_EQ(walk(Direction::Forward, pageSize, std::nullopt), order) << pageSize;
    EXPECT_EQ(walk(Direction::Backward, pageSize, std::nullopt), reversed) << pageSize;
    EXPECT_EQ(walk(Direction::Forward, pageSize, KeyValue{std::string("A")}), aOnly) << pageSize;
    EXPECT_EQ(walk(Direction::Backward, pageSize, KeyValue{std::string("A")}), aReversed) << pageSize;
  }

  // Starts at a value: a locator's {value, 0, inclusive} and the last of a
  // value backward.
  std::vector<DbRow> page;
  ASSERT_EQ(cases.readPage(KeyCaseName, Direction::Forward, Seek{std::string("B"), 0, true}, 3, std::nullopt, page),
            DbStatus::Ok);
  ASSERT_EQ(page.size(), 3u);
  EXPECT_EQ(textOf(caseLayout(), page[0].image, CAS_NAME), "b");
  EXPECT_EQ(page[0].position, expected[aOnly.size()].second);
  ASSERT_EQ(cases.readPage(KeyCaseName, Direction::Backward, Seek{std::string("B"), INT64_MAX, true}, 2,
                           std::nullopt, page),
            DbStatus::Ok);
  EXPECT_EQ(page.front().position, expected[aOnly.size() + 8].second);  // the last "b"
  // A start between values, and starts outside a range.
  ASSERT_EQ(cases.readPage(KeyCaseName, Direction::Forward, Seek{std::string("BB"), 0, true}, 1, std::nullopt, page),
            DbStatus::Ok);
  EXPECT_EQ(textOf(caseLayout(), page.at(0).image, CAS_NAME), "c");
  ASSERT_EQ(cases.readPage(KeyCaseName, Direction::Forward, Seek{std::string("C"), 0, true}, 5,
                           KeyValue{std::string("A")}, page),
            DbStatus::Ok);
  EXPECT_TRUE(page.empty());
  ASSERT_EQ(cases.readPage(KeyCaseName, Direction::Forward, Seek{std::string("0"), 0, true}, 100,
                           KeyValue{std::string("A")}, page),
            DbStatus::Ok);
  EXPECT_EQ(page.size(), aOnly.size());

  // Reading leaves the buffer and position alone; a wrong kind of value is refused.
  const std::int64_t pos = cases.position();
  EXPECT_EQ(cases.position(), pos);
  EXPECT_EQ(cases.readPage(KeyCaseName, Direction::Forward, Seek{std::int64_t{3}, 0, true}, 5, std::nullopt, page),
            DbStatus::Invalid);
  EXPECT_EQ(cases.readPage(9, Direction::Forward, std::nullopt, 5, std::nullopt, page), DbStatus::Invalid);
}

TEST_F(Records, FetchLoadsTheFirstOfEqualValues) {
  ASSERT_EQ(addCase("N1", "same"), DbStatus::Ok);
  const std::int64_t first = cases.position();
  ASSERT_EQ(addCase("N2", "Same"), DbStatus::Ok);
  clear(cases);
  field(cases, CAS_NAME).setText("SAME");
  ASSERT_EQ(cases.fetch(KeyCaseName), DbStatus::Ok);
  EXPECT_EQ(cases.position(), first);
  EXPECT_EQ(field(cases, CAS_NUMBER).text(), "N1");
}

TEST_F(Records, CallsOnAClosedFileAreRefused) {
  cases.close();
  std::vector<DbRow> rows;
  EXPECT_EQ(cases.add(), DbStatus::NotOpen);
  EXPECT_EQ(cases.get(1), DbStatus::NotOpen);
  EXPECT_EQ(cases.readPage(1, Direction::Forward, std::nullopt, 5, std::nullopt, rows), DbStatus::NotOpen);
  EXPECT_EQ(cases.open(), DbStatus::Ok);
}

}  // namespace
