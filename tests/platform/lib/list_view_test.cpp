#include "platform/lib/list_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/context.h"
#include "platform/db/file.h"
#include "tests/platform/db/db_fixture.h"

namespace platform {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

enum : int { NAME = 1, NUM = 2, GRP = 3 };
enum : int { KeyNum = 1, KeyName = 2, KeyGroup = 3 };

const RecordLayout& layout() {
  static const RecordLayout l("People", "PEO", "PEOPLE", 18,
                              {STRING("PEO:NAME", 10, 0), LONG("PEO:NUM", 10), STRING("PEO:GRP", 4, 14)});
  return l;
}

FileDefinition definition() {
  return FileDefinition{&layout(),
                        {KeyDefinition{"PEO:KeyNum", "Number", NUM, true, true, false},
                         KeyDefinition{"PEO:KeyName", "Name", NAME, false, true, false},
                         KeyDefinition{"PEO:KeyGroup", "Group", GRP, false, false, false}}};
}

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(dbtest::openOrCreate(file), DbStatus::Ok); }

  std::int64_t add(const std::string& name, int num, const std::string& group = "A") {
    clearRecord(layout(), file.record());
    FieldRef::of(layout().field(NAME), file.record()).setText(name);
    FieldRef::of(layout().field(NUM), file.record()).setInteger(num);
    FieldRef::of(layout().field(GRP), file.record()).setText(group);
    EXPECT_EQ(file.add(), DbStatus::Ok);
    return file.position();
  }
  // Numbers 1..n named "N001".. in number order.
  void addNumbered(int n) {
    for (int i = 1; i <= n; ++i) add("N" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i), i);
  }
  static int num(const DbRow& r) { return static_cast<int>(dbtest::intOf(layout(), r.image, NUM)); }
  std::vector<int> page() const {
    std::vector<int> out;
    for (const DbRow& r : view.rows()) out.push_back(num(r));
    return out;
  }
  int selectedNum() const { return view.selectedRow() ? num(*view.selectedRow()) : 0; }

  dbtest::ScratchDir dir;
  DbContext context;
  DbFile file{context, definition()};
  ListView view{file};
};

TEST_F(ListViewTest, ReadsOnlyThePageAndTheRecordsScrolledTo) {
  addNumbered(200);
  view.setKey(KeyNum);
  view.setPageRows(10);
  ASSERT_EQ(view.fillFirst(), DbStatus::Ok);
  EXPECT_THAT(page(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
  EXPECT_EQ(view.stats().rowsRead, 10);

  // Each step in turn: the selected record, the page's first record and
  // how many records the step read.
  struct Step {
    int by;
    int selected;
    int first;
    long read;
  } steps[] = {
      {9, 10, 1, 0},     // within the page: nothing read
      {1, 11, 2, 1},     // one past the bottom: one record, the page shifts
      {10, 21, 12, 10},  // a page down keeps the row and moves the page
      {-9, 12, 12, 0},   // back to the top row
      {-1, 11, 11, 1},   // one past the top
  };
  for (const Step& st : steps) {
    view.resetStats();
    ASSERT_EQ(view.move(st.by), DbStatus::Ok);
    EXPECT_EQ(selectedNum(), st.selected) << "move " << st.by;
    EXPECT_EQ(page().front(), st.first) << "move " << st.by;
    EXPECT_EQ(view.stats().rowsRead, st.read) << "move " << st.by;
    EXPECT_EQ(view.rowCount(), 10);
  }

  // At either end the selection stops on the first or last record.
  ASSERT_EQ(view.fillLast(), DbStatus::Ok);
  EXPECT_EQ(selectedNum(), 200);
  ASSERT_EQ(view.move(5), DbStatus::Ok);
  EXPECT_EQ(selectedNum(), 200);
  EXPECT_EQ(page().front(), 191);
  ASSERT_EQ(view.fillFirst(), DbStatus::Ok);
  ASSERT_EQ(view.move(-3), DbStatus::Ok);
  EXPECT_EQ(selectedNum(), 1);
}

TEST_F(ListViewTest, FillAtPutsTheRecordOnItsRowAndKeepsThePageFull) {
  addNumbered(30);
  view.setKey(KeyNum);
  view.setPageRows(5);
  struct Case {
    const char* what;
    std::int64_t at;
    int row;
    std::vector<int> page;
    int selected;
  } cases[] = {
      {"in the middle, on row 3", 15, 3, {13, 14, 15, 16, 17}, 15},
      {"near the start: fewer records before it", 2, 4, {1, 2, 3, 4, 5}, 2},
      {"near the end: the page ends with the last record", 29, 1, {26, 27, 28, 29, 30}, 29},
      {"past the end: the last page, its last row", 99, 1, {26, 27, 28, 29, 30}, 30},
      {"before the start", -5, 1, {1, 2, 3, 4, 5}, 1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(view.fillAt(Seek{c.at, 0, true}, c.row), DbStatus::Ok) << c.what;
    EXPECT_THAT(page(), ElementsAreArray(c.page)) << c.what;
    EXPECT_EQ(selectedNum(), c.selected) << c.what;
  }
}

TEST_F(ListViewTest, EqualKeysAreTellApartByPosition) {
  std::vector<std::int64_t> smiths;
  add("adams", 1);
  for (int i = 0; i < 6; ++i) smiths.push_back(add("Smith", 10 + i));
  add("young", 2);
  view.setKey(KeyName);
  view.setPageRows(3);
  // The fourth Smith, found among six with the same key value.
  ASSERT_EQ(view.fillAt(Seek{KeyValue{std::string("SMITH")}, smiths[3], true}, 2), DbStatus::Ok);
  EXPECT_EQ(selectedNum(), 13);
  EXPECT_EQ(view.selected(), 2);
  EXPECT_THAT(page(), ElementsAre(12, 13, 14));

  // Refilling after that record was deleted selects the next on the same row.
  ASSERT_EQ(file.remove(smiths[3]), DbStatus::Ok);
  ASSERT_EQ(view.refill(), DbStatus::Ok);
  EXPECT_EQ(selectedNum(), 14);
  EXPECT_EQ(view.selected(), 2);
  // Scrolling through equal values misses none and repeats none.
  ASSERT_EQ(view.fillFirst(), DbStatus::Ok);
  std::vector<int> seen{selectedNum()};
  for (int i = 0; i < 10; ++i) {
    ASSERT_EQ(view.move(1), DbStatus::Ok);
    if (selectedNum() != seen.back()) seen.push_back(selectedNum());
  }
  EXPECT_THAT(seen, ElementsAre(1, 10, 11, 12, 14, 15, 2));
}

TEST_F(ListViewTest, RangeAndFilterLimitTheView) {
  for (int i = 1; i <= 40; ++i) add("n" + std::to_string(i), i, i % 2 ? "ODD" : "even");
  view.setKey(KeyGroup);
  view.setRange(KeyValue{std::string("EVEN")});
  view.setPageRows(4);
  ASSERT_EQ(view.fillLast(), DbStatus::Ok);
  EXPECT_THAT(page(), ElementsAre(34, 36, 38, 40));

  // A filter that keeps one record in ten: the page still fills.
  view.setFilter([](const std::uint8_t* image) {
    return FieldRef::of(layout().field(NUM), const_cast<std::uint8_t*>(image)).integer() % 10 == 0;
  });
  ASSERT_EQ(view.fillFirst(), DbStatus::Ok);
  EXPECT_THAT(page(), ElementsAre(10, 20, 30, 40));
  std::vector<std::uint8_t> image(layout().recordSize());
  clearRecord(layout(), image.data());
  FieldRef::of(layout().field(GRP), image.data()).setText("even");
  FieldRef::of(layout().field(NUM), image.data()).setInteger(20);
  EXPECT_TRUE(view.holds(image.data()));
  FieldRef::of(layout().field(NUM), image.data()).setInteger(22);
  EXPECT_FALSE(view.holds(image.data()));  // the filter drops it
  FieldRef::of(layout().field(NUM), image.data()).setInteger(20);
  FieldRef::of(layout().field(GRP), image.data()).setText("ODD");
  EXPECT_FALSE(view.holds(image.data()));  // outside the range

  // A key that leaves empty values out never holds a blank name.
  view.setRange(std::nullopt);
  view.setFilter({});
  view.setKey(KeyName);
  FieldRef::of(layout().field(NAME), image.data()).setText("");
  EXPECT_FALSE(view.holds(image.data()));
}

// A filtered read of whole batches goes on past the last record of each,
// whether or not that record passed (the rows that pass are moved out).
TEST_F(ListViewTest, AFilteredReadGoesOnBatchAfterBatch) {
  addNumbered(100);
  view.setKey(KeyNum);
  for (int keep : {1, 3}) {
    SCOPED_TRACE(keep);
    view.setFilter([keep](const std::uint8_t* image) {
      return FieldRef::of(layout().field(NUM), const_cast<std::uint8_t*>(image)).integer() % keep == 0;
    });
    const int count = keep == 1 ? 40 : 20;
    std::vector<DbRow> rows;
    ASSERT_EQ(view.read(Direction::Forward, std::nullopt, count, rows), DbStatus::Ok);
    ASSERT_EQ(static_cast<int>(rows.size()), count);
    EXPECT_EQ(num(rows.front()), keep);
    EXPECT_EQ(num(rows.back()), count * keep);
    ASSERT_EQ(view.read(Direction::Forward, view.past(rows.back()), count, rows), DbStatus::Ok);
    ASSERT_EQ(rows.size(), keep == 1 ? 40u : 13u);
    EXPECT_EQ(num(rows.back()), keep == 1 ? 80 : 99);
  }
}

// A read the fault hook fails ends with its status and no rows.
TEST_F(ListViewTest, TheReadFaultFailsTheReadsItIsAskedTo) {
  addNumbered(5);
  view.setKey(KeyNum);
  int asked = 0;
  ListView::setReadFault([&asked](const ListView&) { return ++asked == 2 ? DbStatus::Failed : DbStatus::Ok; });
  std::vector<DbRow> rows;
  EXPECT_EQ(view.read(Direction::Forward, std::nullopt, 5, rows), DbStatus::Ok);
  EXPECT_EQ(view.read(Direction::Forward, std::nullopt, 5, rows), DbStatus::Failed);
  EXPECT_TRUE(rows.empty());
  ListView::setReadFault({});
  EXPECT_EQ(view.read(Direction::Forward, std::nullopt, 5, rows), DbStatus::Ok);
  EXPECT_EQ(rows.size(), 5u);
}

TEST_F(ListViewTest, TheOpenerRunsBeforeEveryRead) {
  addNumbered(3);
  file.close();
  int opened = 0;
  view.setOpener([&] {
    ++opened;
    return file.open();
  });
  view.setKey(KeyNum);
  view.setPageRows(2);
  ASSERT_EQ(view.fillFirst(), DbStatus::Ok);
  EXPECT_THAT(page(), ElementsAre(1, 2));
  EXPECT_EQ(opened, 1);
  view.setOpener([] { return DbStatus::NotOpen; });
  EXPECT_EQ(view.fillFirst(), DbStatus::NotOpen);
  EXPECT_EQ(view.rowCount(), 0);
}

}  // namespace
}  // namespace platform
