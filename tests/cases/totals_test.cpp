// The totals lists and their form on the real record files, through the
// driver: the list started as the frame starts it, the case picked with the
// real picker, the record kept through the real form.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cases/form_manager.h"
#include "cases/select_case_close_summary.h"
#include "cases/totals_windows.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace tl = cases::totals_list;
namespace tf = cases::totals_form;

class TotalsTest : public CaseListTest {
 protected:
  void SetUp() override {
    CaseListTest::SetUp();
    writer->add({"CR-1", "Able"});
    writer->add({"CR-2", "Baker"});
    writer->add({"CR-3", "Cole"});
  }
  void open() { start([] { cases::BrowseTOTALS(); }); }

  Window& list() { return drv->window("Browse the TOTALS file"); }
  platform::Control& rows() { return drv->control(list(), tl::BROWSE_1); }
  std::vector<std::string> shown() {
    std::vector<std::string> out;
    for (int r = 1; r <= rows().rowCount(); ++r) out.push_back(rows().cell(r, 1));
    return out;
  }
  // "Select CaseCloseSummary", then the case on `row` of the picker (by
  // name), or the picker closed without a pick for row 0.
  void pick(int row) {
    drv->click(list(), tl::SELECTCASECLOSESUMMARY);
    Window& picker = drv->window("Select a CaseCloseSummary Record");
    if (row)
      drv->doubleClick(picker, cases::case_picker::BROWSE_1, row);
    else
      drv->close(picker);
    ASSERT_EQ(drv->findWindow("Select a CaseCloseSummary Record"), nullptr);
  }
  bool enabled(int control) { return drv->control(list(), control).enabled(); }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& m : drv->messages()) t.push_back(m.title);
    return t;
  }
};

TEST_F(TotalsTest, ListsNothingUntilACaseIsPickedAndInsertPrimesThePickedCase) {
  writer->addTotals("CR-2", "1.5", "20");
  open();
  EXPECT_EQ(list().caption(), "Browse the TOTALS file");
  EXPECT_THAT(shown(), IsEmpty());
  EXPECT_TRUE(enabled(tl::INSERT_3));
  for (int control : {tl::CHANGE_3, tl::DELETE_3, tl::VIEW_2}) EXPECT_FALSE(enabled(control)) << control;
  // The hours line up on the point here.
  EXPECT_EQ(rows().columns()[1].justify, platform::Justify::Right);

  pick(2);
  EXPECT_THAT(rows().row(1), ElementsAre("CR-2", "1.5", "", "", "", "", "", "", ""));
  pick(0);  // cancelled: still the case picked before
  EXPECT_THAT(shown(), ElementsAre("CR-2"));

  pick(1);
  EXPECT_THAT(shown(), IsEmpty());
  drv->click(list(), tl::INSERT_3);
  Window& form = drv->window("Record Will Be Added");
  EXPECT_EQ(form.focus(), tf::TOT_CASENUMBER);
  EXPECT_EQ(drv->text(form, tf::TOT_CASENUMBER), "CR-1");
  for (int hours : {tf::TOT_A, tf::TOT_H, tf::TOT_TOTAL_IN}) EXPECT_EQ(drv->text(form, hours), "") << hours;
  drv->selectTab(form, tf::CURRENTTAB, 2);
  drv->type(form, tf::TOT_N, "12.5");
  drv->click(form, tf::OK);
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_THAT(shown(), ElementsAre("CR-1"));
  EXPECT_EQ(writer->totalsField("CR-1", dictionary::TOT_N), "12.50");
  EXPECT_EQ(writer->totalsField("CR-1", dictionary::TOT_A), "0.0");

  // Ctrl+H repeats a field of the record added last on this thread.
  pick(3);
  drv->click(list(), tl::INSERT_3);
  Window& next = drv->window("Record Will Be Added");
  drv->selectTab(next, tf::CURRENTTAB, 2);
  drv->focus(next, tf::TOT_N);
  drv->press(next, cases::HistoryKey);
  EXPECT_EQ(drv->text(next, tf::TOT_N), "$12.50");
  drv->click(next, tf::OK);
  EXPECT_EQ(writer->totalsField("CR-3", dictionary::TOT_N), "12.50");
  EXPECT_THAT(titles(), IsEmpty());
}

TEST_F(TotalsTest, ASecondRecordOfACaseOrANumberOfNoCaseIsRefusedAndNothingIsSaved) {
  writer->addTotals("CR-1");
  struct Case {
    const char* typed;
    const char* title;
  };
  open();
  pick(2);
  for (const Case& c : {Case{"cr-1", "Duplicate Key Error"}, Case{"CR-9", "Field contents error"}}) {
    SCOPED_TRACE(c.typed);
    drv->click(list(), tl::INSERT_3);
    Window& form = drv->window("Record Will Be Added");
    drv->type(form, tf::TOT_CASENUMBER, c.typed);
    drv->answer(platform::BtnOk);
    drv->click(form, tf::OK);
    ASSERT_FALSE(drv->messages().empty());
    EXPECT_EQ(drv->messages().back().title, c.title);
    // The form stays open with what was typed, on its first control.
    EXPECT_EQ(drv->text(form, tf::TOT_CASENUMBER), c.typed);
    EXPECT_EQ(form.focus(), tf::TOT_CASENUMBER);
    drv->answer(platform::BtnYes);  // "Changes will be lost!"
    drv->click(form, tf::CANCEL);
    EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
    EXPECT_THAT(shown(), IsEmpty());
  }
  EXPECT_EQ(writer->totals("CR-1"), 1);
  EXPECT_EQ(writer->totals("CR-2"), 0);
  EXPECT_EQ(writer->totals("CR-9"), 0);
}

TEST_F(TotalsTest, ANumberMovedToAnotherCaseLeavesTheListAndViewModeChangesNothing) {
  writer->addTotals("CR-1", "2", "7.25");
  open();
  pick(1);

  drv->click(list(), tl::VIEW_2);
  Window& view = drv->window("View Record");
  for (int control : {tf::TOT_CASENUMBER, tf::TOT_N, tf::TOT_O, tf::TOT_P1, tf::TOT_U, tf::TOT_TOTAL_OTHER})
    EXPECT_TRUE(view.control(control).readOnly()) << control;
  EXPECT_EQ(drv->text(view, tf::TOT_A), "2.0");
  EXPECT_THROW(drv->edit(view, tf::TOT_CASENUMBER, "CR-2"), platform::DriverError);
  drv->click(view, tf::OK);
  EXPECT_EQ(drv->findWindow("View Record"), nullptr);
  EXPECT_THAT(shown(), ElementsAre("CR-1"));

  drv->click(list(), tl::CHANGE_3);
  Window& form = drv->window("Record Will Be Changed");
  drv->type(form, tf::TOT_CASENUMBER, "CR-2");
  drv->click(form, tf::OK);
  EXPECT_EQ(drv->findWindow("Record Will Be Changed"), nullptr);
  EXPECT_THAT(shown(), IsEmpty());
  EXPECT_EQ(writer->totals("CR-1"), 0);
  EXPECT_EQ(writer->totalsField("CR-2", dictionary::TOT_N), "7.25");
  EXPECT_EQ(writer->totalsField("CR-2", dictionary::TOT_A), "2.0");
  EXPECT_THAT(titles(), IsEmpty());
}

// The case list's hidden "View TOTALS" shows the selected case's record,
// its hours to the left, and picks no case.
TEST_F(TotalsTest, TheCaseListsHiddenButtonShowsTheSelectedCasesRecord) {
  writer->addTotals("CR-2", "3");
  for (cases::CaseListCall& c : cases::CaseListCalls())
    if (c.control == cases::case_list::BROWSETOTALS) c.call = saved[&c - cases::CaseListCalls().data()];
  start([] { cases::BrowseCaseCloseSummary(); });
  Window& caseList = drv->window("CASE FILE");
  drv->selectRow(caseList, cases::case_list::BROWSE_1, 2);
  caseList.post(platform::EventKind::Accepted, cases::case_list::BROWSETOTALS);
  drv->settle();
  Window& byCase = drv->window("Browse the TOTALS file by TOT:KeyCaseNumber");
  platform::Control& l = drv->control(byCase, tl::BROWSE_1);
  ASSERT_EQ(l.rowCount(), 1);
  EXPECT_THAT(l.row(1), ElementsAre("CR-2", "3.0", "", "", "", "", "", "", ""));
  EXPECT_EQ(l.columns()[1].justify, platform::Justify::Left);
  EXPECT_EQ(byCase.find(tl::SELECTCASECLOSESUMMARY), nullptr);
  drv->click(byCase, tl::CLOSE);
  EXPECT_EQ(drv->findWindow("Browse the TOTALS file by TOT:KeyCaseNumber"), nullptr);
  EXPECT_TRUE(caseList.takesInput());
}

}  // namespace
}  // namespace browsetest
