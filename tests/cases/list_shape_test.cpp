// The list shape through a small list procedure of its own (list_fixture.h).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cases/list_fixture.h"

namespace listtest {
namespace {

using ::testing::ElementsAre;
using platform::Key;
using platform::KeyPress;
using platform::ScrollAction;

class ListShapeTest : public ListTest {
 protected:
  // Five people; Eve has no name, so the name order leaves her out.
  void addFive() {
    writer->add("C3", "carter", "10", "A", "n3");
    writer->add("C1", "Adams", "20", "A", "n1");
    writer->add("C5", "", "0", "B", "n5");
    writer->add("C2", "baker", "30", "B", "n2");
    writer->add("C4", "Dunn", "40", "A", "n4");
  }
};

TEST_F(ListShapeTest, TheTabChoosesTheOrderAndBlankNamesAreOnlyInCodeOrder) {
  addFive();
  open();
  EXPECT_THAT(shown(), ElementsAre("C1", "C2", "C3", "C4"));  // by name, first tab
  EXPECT_EQ(selectedCode(), "C1");
  EXPECT_EQ(drv->text(list(), SELECTED_NAME), "Adams");

  const int recalcs = recalcCount();
  drv->selectTab(list(), SHEET, 2);
  EXPECT_THAT(shown(), ElementsAre("C1", "C2", "C3", "C4", "C5"));
  EXPECT_EQ(recalcCount(), recalcs + 1);  // a reload from the start
  drv->selectRow(list(), BROWSE, 5);
  EXPECT_EQ(buffer(PEO_CODE).text(), "C5");
  EXPECT_EQ(drv->text(list(), SELECTED_NAME), "");
  drv->selectTab(list(), SHEET, 1);  // back: reloaded from the start
  EXPECT_THAT(shown(), ElementsAre("C1", "C2", "C3", "C4"));
  EXPECT_EQ(selectedCode(), "C1");
  // A selection copies the row's listed fields only: the note stays.
  drv->click(list(), OWN);
  drv->selectRow(list(), BROWSE, 3);
  drv->close(list());
  EXPECT_EQ(seen().codeAfter, "C3");
  EXPECT_EQ(seen().noteAfter, "n1");  // from the own button's full read of C1
}

TEST_F(ListShapeTest, EntryLocatorsSearchTheCurrentOrder) {
  addFive();
  open();
  struct Case {
    int tab, entry;
    const char* text;
    const char* selected;
  } cases[] = {
      {1, NAME_ENTRY, "CARTER", "C3"},  // case does not matter
      {1, NAME_ENTRY, "b", "C2"},       // at or after
      {1, NAME_ENTRY, "bz", "C3"},      // between: the next one
      {1, NAME_ENTRY, "zz", "C4"},      // past the end: the last
      {2, CODE_ENTRY, "c4", "C4"},
      {2, CODE_ENTRY, "C45", "C5"},
      {2, CODE_ENTRY, "D", "C5"},
      {2, CODE_ENTRY, "", "C1"},
  };
  for (const Case& c : cases) {
    drv->selectTab(list(), SHEET, c.tab);
    drv->type(list(), c.entry, c.text);
    EXPECT_EQ(selectedCode(), c.selected) << c.text;
    EXPECT_EQ(list().focus(), BROWSE) << c.text;
  }
  // Typing a search never wrote the record buffer.
  EXPECT_EQ(drv->text(list(), SELECTED_NAME), "Adams");  // C1, found last
  EXPECT_TRUE(seen().formCalls.empty());
}

TEST_F(ListShapeTest, EnterInASearchEntrySearchesAndDoesNotChange) {
  addFive();
  open();
  drv->edit(list(), NAME_ENTRY, "dunn");
  drv->press(list(), KeyPress(Key::Enter));
  EXPECT_EQ(selectedCode(), "C4");
  EXPECT_TRUE(seen().formCalls.empty());
  // Enter on the list itself presses the default button, Change.
  drv->press(list(), KeyPress(Key::Enter));
  ASSERT_EQ(seen().formCalls.size(), 1u);
  EXPECT_EQ(seen().formCalls[0].request, app::RequestChange);
  EXPECT_EQ(seen().formCalls[0].code, "C4");
}

TEST_F(ListShapeTest, ASearchTextIsCutTo39Characters) {
  addFive();
  open();
  const std::string typed(50, 'x');
  drv->type(list(), NAME_ENTRY, typed);
  EXPECT_EQ(drv->text(list(), NAME_ENTRY), std::string(39, 'x'));
  EXPECT_EQ(selectedCode(), "C4");
  EXPECT_EQ(buffer(PEO_NAME).text(), "Dunn");
}

TEST_F(ListShapeTest, KeystrokeLocatorsMoveToTheFirstCharacter) {
  listConfig().keystroke = true;
  addFive();
  open();
  drv->focus(list(), BROWSE);
  drv->press(list(), KeyPress::character(U'c'));
  EXPECT_EQ(selectedCode(), "C3");
  drv->press(list(), KeyPress::character(U'E'));  // no name starts at or after E: the last
  EXPECT_EQ(selectedCode(), "C4");
  drv->selectTab(list(), SHEET, 2);
  drv->focus(list(), BROWSE);
  drv->press(list(), KeyPress::character(U'c'));
  EXPECT_EQ(selectedCode(), "C1");
}

TEST_F(ListShapeTest, OnlyThePageIsReadAndScrollingReadsWhatItShows) {
  writer->addMany(3000, [](int i, FieldRef code, FieldRef name) {
    code.setText("K" + std::to_string(100000 + i));
    name.setText("Name " + std::to_string(100000 + i));
  });
  open();
  const int page = listControl().pageRows();
  ASSERT_EQ(listControl().rowCount(), page);
  const auto& stats = browse().view().stats();
  // The page, and one record at each end of the view for the scroll thumb.
  EXPECT_LE(stats.rowsRead, page + 2);
  EXPECT_EQ(listControl().cell(page, 1), "K" + std::to_string(100000 + page));

  browse().view().resetStats();
  const int recalcs = recalcCount();
  for (int i = 0; i < page; ++i) drv->scroll(list(), BROWSE, ScrollAction::Down);
  EXPECT_EQ(stats.rowsRead, 1);  // only the last Down left the page
  drv->scroll(list(), BROWSE, ScrollAction::PageDown);
  EXPECT_EQ(stats.rowsRead, 1 + page);
  EXPECT_EQ(selectedCode(), "K" + std::to_string(100001 + 2 * page));
  drv->scroll(list(), BROWSE, ScrollAction::Bottom);
  EXPECT_EQ(selectedCode(), "K103000");
  EXPECT_EQ(listControl().thumb(), 100);
  EXPECT_LE(stats.rowsRead, 1 + 2 * page);
  drv->scroll(list(), BROWSE, ScrollAction::Thumb, 50);
  EXPECT_NEAR(std::stoi(selectedCode().substr(1)) - 100000, 1500, 100);  // the middle of the key values
  drv->scroll(list(), BROWSE, ScrollAction::Top);
  EXPECT_EQ(selectedCode(), "K100001");
  EXPECT_EQ(listControl().thumb(), 0);
  EXPECT_LE(stats.rowsRead, 1 + 4 * page);
  EXPECT_EQ(recalcCount(), recalcs);  // scrolling reads no more than it shows
}

TEST_F(ListShapeTest, AResizedListShowsAsManyRowsAsFit) {
  writer->addMany(40, [](int i, FieldRef code, FieldRef name) {
    code.setText("K" + std::to_string(100 + i));
    name.setText("Name " + std::to_string(100 + i));
  });
  open();
  ASSERT_EQ(listControl().rowCount(), 5);
  drv->selectRow(list(), BROWSE, 3);
  drv->resize(list(), 300, 300);  // the list grows by 100 units: ten rows more
  EXPECT_EQ(listControl().rowCount(), 15);
  EXPECT_EQ(selectedCode(), "K103");
  // The desktop may find room for another number of rows by itself.
  listControl().setPageRows(8);
  drv->scroll(list(), BROWSE, ScrollAction::Down);
  EXPECT_EQ(listControl().rowCount(), 8);
  EXPECT_EQ(selectedCode(), "K104");
}

TEST_F(ListShapeTest, AnEmptyListDisablesWhatNeedsARowAndLoadsNothing) {
  open(0, [] {
    PEO(PEO_CODE).setText("KEPT");
    PEO(PEO_NOTE).setText("note");
  });
  EXPECT_EQ(listControl().rowCount(), 0);
  EXPECT_FALSE(enabled(CHANGE));
  EXPECT_FALSE(enabled(DELETE));
  EXPECT_FALSE(enabled(VIEW));
  EXPECT_TRUE(enabled(INSERT));
  EXPECT_FALSE(drv->control(list(), SELECT).visible());  // not in select mode
  drv->click(list(), OWN);
  EXPECT_THAT(seen().ownCalls, ElementsAre("KEPT/note"));
  EXPECT_THAT(seen().ownPresent, ElementsAre(true));
  drv->focus(list(), BROWSE);
  drv->press(list(), KeyPress(Key::Delete));
  drv->press(list(), KeyPress(Key::Enter));
  EXPECT_TRUE(seen().formCalls.empty());

  // Insert still works, and the list ends on the new record.
  formScript().code = "N1";
  formScript().name = "Newman";
  drv->click(list(), INSERT);
  ASSERT_EQ(seen().formCalls.size(), 1u);
  EXPECT_EQ(seen().formCalls[0].request, app::RequestInsert);
  EXPECT_EQ(seen().formCalls[0].code, "");  // primed: cleared
  EXPECT_EQ(seen().formCalls[0].note, "");
  EXPECT_THAT(shown(), ElementsAre("N1"));
  EXPECT_TRUE(enabled(CHANGE));
  EXPECT_TRUE(enabled(DELETE));
  EXPECT_EQ(list().focus(), BROWSE);
}

TEST_F(ListShapeTest, TheAskCycleReloadsAndKeepsTheBufferOfACallThatDidNotComplete) {
  struct Case {
    const char* what;
    int button;
    FormScript script;
    std::vector<std::string> shown;  // by name afterwards
    const char* selected;
    const char* nameInBuffer;
  } cases[] = {
      {"a completed change moves with its new name", CHANGE, {true, "", "Zed", "", true},
       {"C1", "C3", "C4", "C2"}, "C2", "Zed"},
      {"a cancelled change leaves the record as it was", CHANGE, {true, "", "Typed", "", false},
       {"C1", "C2", "C3", "C4"}, "C2", "baker"},
      {"a completed insert ends on the new record", INSERT, {true, "C9", "Bell", "", true},
       {"C1", "C2", "C9", "C3", "C4"}, "C9", "Bell"},
      {"a cancelled insert gives back the record from before the priming", INSERT, {true, "C9", "Bell", "", false},
       {"C1", "C2", "C3", "C4"}, "C2", "baker"},
      {"a confirmed delete drops the row; the next takes its place", DELETE, {true, "", "", "", true},
       {"C1", "C3", "C4"}, "C3", "carter"},
      {"a refused delete changes nothing", DELETE, {false, "", "", "", true}, {"C1", "C2", "C3", "C4"}, "C2", "baker"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    addFive();
    open();
    formScript() = c.script;
    drv->selectRow(list(), BROWSE, 2);  // baker, C2
    const int recalcs = recalcCount();
    drv->click(list(), c.button);
    ASSERT_EQ(seen().formCalls.size(), 1u);
    EXPECT_EQ(recalcCount(), recalcs + 1);
    EXPECT_THAT(shown(), ::testing::ElementsAreArray(c.shown));
    EXPECT_EQ(selectedCode(), c.selected);
    EXPECT_EQ(buffer(PEO_NAME).text(), c.nameInBuffer);
    EXPECT_EQ(drv->text(list(), SELECTED_NAME), c.nameInBuffer);
    EXPECT_EQ(list().focus(), BROWSE);
  }
}

TEST_F(ListShapeTest, KeysAndDoubleClickPressTheButtons) {
  addFive();
  open();
  formScript().save = false;
  drv->focus(list(), BROWSE);
  drv->press(list(), KeyPress(Key::Insert));
  drv->press(list(), KeyPress(Key::Enter, platform::ModCtrl));
  drv->press(list(), KeyPress(Key::Enter, platform::ModShift));
  drv->doubleClick(list(), BROWSE, 3);
  formScript().deleteConfirmed = false;
  drv->press(list(), KeyPress(Key::Delete));
  std::vector<int> requests;
  for (const auto& call : seen().formCalls) requests.push_back(call.request);
  EXPECT_THAT(requests, ElementsAre(app::RequestInsert, app::RequestChange, app::RequestView, app::RequestChange,
                                    app::RequestDelete));
  // The form sees the whole record, read again before the action.
  EXPECT_EQ(seen().formCalls[3].code, "C3");
  EXPECT_EQ(seen().formCalls[3].note, "n3");
}

TEST_F(ListShapeTest, ReloadAfterAFormFindsTheSavedRecordAmongEqualNames) {
  for (int i = 1; i <= 9; ++i) writer->add("S" + std::to_string(i), "Smith", "1");
  open();
  drv->selectRow(list(), BROWSE, 4);  // page of five Smiths: S4
  formScript().rate = "99";           // the name stays: the key value does not move
  drv->click(list(), CHANGE);
  EXPECT_EQ(selectedCode(), "S4");
  EXPECT_EQ(listControl().selected(), 4);  // on the row it was on
  drv->scroll(list(), BROWSE, ScrollAction::PageDown);
  drv->selectRow(list(), BROWSE, 3);
  const std::string chosen = selectedCode();
  drv->click(list(), CHANGE);
  EXPECT_EQ(selectedCode(), chosen);
}

TEST_F(ListShapeTest, ARecordDeletedElsewhereIsDroppedAndTheActionSkipped) {
  std::vector<std::int64_t> at;
  at.push_back(writer->add("C1", "Adams", "1", "A", "n1"));
  at.push_back(writer->add("C2", "baker", "1", "A", "n2"));
  at.push_back(writer->add("C3", "carter", "1", "A", "n3"));
  open();
  drv->selectRow(list(), BROWSE, 2);
  writer->remove(at[1]);  // another copy deletes baker
  drv->click(list(), CHANGE);
  EXPECT_TRUE(seen().formCalls.empty());
  EXPECT_THAT(shown(), ElementsAre("C1", "C3"));
  EXPECT_EQ(selectedCode(), "C3");

  // The window's own button still runs, on the record the user chose.
  writer->remove(at[2]);
  drv->click(list(), OWN);
  EXPECT_THAT(seen().ownPresent, ElementsAre(false));
  EXPECT_THAT(seen().ownCalls, ElementsAre("C3/"));
  EXPECT_THAT(shown(), ElementsAre("C1"));
}

TEST_F(ListShapeTest, SelectModeGivesBackThePickOrTheCallersBuffer) {
  struct Case {
    const char* what;
    std::function<void(platform::HeadlessDriver&, Window&)> end;
    std::uint8_t response;
    const char* code;
  } cases[] = {
      {"Close", [](platform::HeadlessDriver& d, Window& w) { d.click(w, CLOSE); }, app::ResponseCancelled, "CALLER"},
      {"the close box", [](platform::HeadlessDriver& d, Window& w) { d.close(w); }, app::ResponseCancelled, "CALLER"},
      {"Select", [](platform::HeadlessDriver& d, Window& w) { d.click(w, SELECT); }, app::ResponseCompleted, "C2"},
      {"Enter", [](platform::HeadlessDriver& d, Window& w) { d.press(w, KeyPress(Key::Enter)); }, app::ResponseCompleted, "C2"},
      {"a double-click", [](platform::HeadlessDriver& d, Window& w) { d.doubleClick(w, BROWSE, 2); }, app::ResponseCompleted,
       "C2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    addFive();
    open(app::RequestSelect, [] {
      PEO(PEO_CODE).setText("CALLER");
      PEO(PEO_NAME).setText("Caller");
      PEO(PEO_NOTE).setText("kept");
    });
    platform::Control& select = drv->control(list(), SELECT);
    EXPECT_TRUE(select.visible() && select.enabled() && select.isDefault());
    EXPECT_FALSE(drv->control(list(), CHANGE).isDefault());
    drv->selectRow(list(), BROWSE, 2);
    c.end(*drv, list());
    ASSERT_TRUE(seen().response.has_value());
    EXPECT_EQ(*seen().response, c.response);
    EXPECT_EQ(seen().codeAfter, c.code);
    EXPECT_EQ(seen().noteAfter, "kept");  // not a listed field: never reloaded
    EXPECT_TRUE(seen().formCalls.empty());
  }
}

TEST_F(ListShapeTest, ARecordDeletedElsewhereCannotBePicked) {
  std::vector<std::int64_t> at;
  at.push_back(writer->add("C1", "Adams"));
  at.push_back(writer->add("C2", "baker"));
  open(app::RequestSelect, [] { PEO(PEO_CODE).setText("CALLER"); });
  drv->selectRow(list(), BROWSE, 2);
  writer->remove(at[1]);
  drv->click(list(), SELECT);
  EXPECT_FALSE(seen().response.has_value());  // still open
  EXPECT_THAT(shown(), ElementsAre("C1"));
  drv->click(list(), SELECT);
  EXPECT_EQ(seen().response, app::ResponseCompleted);
  EXPECT_EQ(seen().codeAfter, "C1");
}

TEST_F(ListShapeTest, APickerOnAnEmptyFileOnlyCloses) {
  open(app::RequestSelect, [] { PEO(PEO_CODE).setText("CALLER"); });
  EXPECT_FALSE(drv->control(list(), SELECT).enabled());
  drv->press(list(), KeyPress(Key::Enter));
  EXPECT_FALSE(seen().response.has_value());
  drv->click(list(), CLOSE);
  EXPECT_EQ(seen().response, app::ResponseCancelled);
  EXPECT_EQ(seen().codeAfter, "CALLER");
}

TEST_F(ListShapeTest, AViewModeListCallsNoForm) {
  addFive();
  open(app::RequestView);
  drv->click(list(), VIEW);
  drv->click(list(), INSERT);  // not attached in view mode
  EXPECT_TRUE(seen().formCalls.empty());
}

TEST_F(ListShapeTest, ARelatedRangeFollowsTheParentAndPrimesNewRecords) {
  listConfig().ranged = true;
  addFive();
  ParentGroup().setText("b");
  open();
  EXPECT_THAT(shown(), ElementsAre("C5", "C2"));  // group B in position order
  formScript().code = "C7";
  drv->click(list(), INSERT);
  EXPECT_THAT(shown(), ElementsAre("C5", "C2", "C7"));
  EXPECT_EQ(selectedCode(), "C7");
  EXPECT_EQ(buffer(PEO_GRP).text(), "b");  // primed from the parent

  // A refresh after the parent moved reloads; one without a move does not.
  ParentGroup().setText("A");
  drv->click(list(), OWN);
  EXPECT_THAT(shown(), ElementsAre("C3", "C1", "C4"));
  browse().view().resetStats();
  drv->click(list(), OWN);
  EXPECT_EQ(browse().view().stats().queries, 0);
}

TEST_F(ListShapeTest, ASavedRecordTheFilterDropsCountsAsDeleted) {
  listConfig().filterRates = true;
  addFive();
  open();
  EXPECT_THAT(shown(), ElementsAre("C1", "C2", "C3", "C4"));
  drv->selectRow(list(), BROWSE, 2);
  formScript().rate = "0";
  drv->click(list(), CHANGE);
  EXPECT_THAT(shown(), ElementsAre("C1", "C3", "C4"));
  EXPECT_EQ(selectedCode(), "C3");
}

TEST_F(ListShapeTest, APrimingThatFailsCancelsTheInsert) {
  int primed = 0;
  listConfig().primer = [&primed] {
    ++primed;
    return platform::LevelNotify;
  };
  addFive();
  open();
  drv->click(list(), INSERT);
  EXPECT_EQ(primed, 1);
  EXPECT_TRUE(seen().formCalls.empty());
  EXPECT_EQ(buffer(PEO_CODE).text(), "C1");
  EXPECT_EQ(buffer(PEO_NOTE).text(), "n1");
  EXPECT_EQ(browse().rowCount(), 4);
}

}  // namespace
}  // namespace listtest
