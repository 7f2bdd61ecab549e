// The entry lists on the real record files, through the driver: started as
// the frame and the rate list start them, the case and the rate picked with
// the real pickers, the entries kept through the real in-court form.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cases/browse_rate_milage.h"
#include "cases/entry_lists.h"
#include "cases/rate_windows.h"
#include "cases/select_case_close_summary.h"
#include "cases/update_time_entry.h"
#include "platform/types/daynum.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using dictionary::HOURLYField;
namespace el = cases::entry_list;
namespace ic = cases::in_court;
using Set = std::function<FieldRef(HOURLYField)>;

class EntryListTest : public CaseListTest {
 protected:
  void SetUp() override {
    CaseListTest::SetUp();
    writer->add({"CR-1", "Able", "100"});
    writer->add({"CR-2", "Baker", "50"});
    writer->addRate("0.485");
    writer->addRate("0.5");
    // 1: in court for CR-1, two hours at its rate.
    writer->addEntry("CR-1", 1, [](const Set& f) {
      f(dictionary::HOU_DATE).setDay(platform::dayNumber(2007, 3, 1));
      f(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Plea hearing");
      f(dictionary::HOU_ARRAIGNMENTPLEA).setText("1.5");
      f(dictionary::HOU_TRIAL).setText("0.5");
      f(dictionary::HOU_IN_TOTALHOURS).setText("2");
      f(dictionary::HOU_TOTALSECTION_INCOURT).setText("200");
    });
    // 2: in court for CR-2, at its rate of 50.
    writer->addEntry("CR-2", 2, [](const Set& f) {
      f(dictionary::HOU_DATE).setDay(platform::dayNumber(2007, 2, 1));
      f(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Bail");
      f(dictionary::HOU_BAILHEARINGS).setText("2");
      f(dictionary::HOU_IN_TOTALHOURS).setText("2");
      f(dictionary::HOU_TOTALSECTION_INCOURT).setText("100");
    });
    // 3: an expense of CR-1, dated in its own date field, at a rate.
    writer->addEntry("CR-1", 3, [](const Set& f) {
      f(dictionary::HOU_DATE3).setDay(platform::dayNumber(2007, 3, 2));
      f(dictionary::HOU_MILAGERATE).setText("0.485");
    });
    // 4: an entry of CR-2 with a case name, which no window writes.
    writer->addEntry("CR-2", 4, [](const Set& f) {
      f(dictionary::HOU_DATE).setDay(platform::dayNumber(2007, 1, 15));
      f(dictionary::HOU_CASENAME).setText("Baker");
      f(dictionary::HOU_MILAGERATE).setText("0.5");
    });
  }
  void open() { start([] { cases::BrowseHOURLY(); }); }

  Window& list() { return drv->window("Browse the HOURLY file"); }
  platform::Control& rows() { return drv->control(list(), el::BROWSE_1); }
  // The listed entries by their description and date, top to bottom.
  std::vector<std::string> shown() {
    std::vector<std::string> out;
    for (int r = 1; r <= rows().rowCount(); ++r) out.push_back(rows().cell(r, 1) + " " + rows().cell(r, 2));
    return out;
  }
  int rowOf(const std::string& caseNumber, const std::string& date) {
    for (int r = 1; r <= rows().rowCount(); ++r)
      if (rows().cell(r, 1) == caseNumber && rows().cell(r, 2) == date) return r;
    ADD_FAILURE() << caseNumber << " " << date << " not listed";
    return 1;
  }
  // A select button, then the row of the picker, or the picker closed
  // without a pick for row 0.
  void pick(int button, const char* caption, int row) {
    drv->click(list(), button);
    Window& picker = drv->window(caption);
    if (row)
      drv->doubleClick(picker, 1, row);  // the pickers' list is control 1
    else
      drv->close(picker);
    ASSERT_EQ(drv->findWindow(caption), nullptr);
  }
  void pickCase(int row) { pick(el::SELECTCASECLOSESUMMARY, "Select a CaseCloseSummary Record", row); }
  void pickRate(int row) { pick(el::SELECTRATEMILAGE, "Select a Rate ", row); }
  bool insertEnabled() { return drv->control(list(), el::INSERT_3).enabled(); }
};

TEST_F(EntryListTest, EachTabListsItsOrderAndInsertNeedsAPickedCase) {
  open();
  EXPECT_EQ(list().caption(), "Browse the HOURLY file");
  // Before a pick: the entries without a case, of which there are none.
  EXPECT_THAT(shown(), IsEmpty());
  EXPECT_FALSE(insertEnabled());

  pickCase(1);
  EXPECT_THAT(shown(), ElementsAre("CR-1 01/03/2007", "CR-1 "));
  EXPECT_THAT(rows().row(1), ElementsAre("CR-1", "01/03/2007", "Plea hearing", "1.5", "", "", "", "0.5", ""));
  EXPECT_TRUE(insertEnabled());
  pickCase(0);  // cancelled: still CR-1's
  EXPECT_THAT(shown(), ElementsAre("CR-1 01/03/2007", "CR-1 "));

  struct Tab {
    int tab;
    std::vector<std::string> listed;
  } tabs[] = {
      {2, {"CR-2 15/01/2007"}},                                                 // with a case name only
      {3, {"CR-1 ", "CR-2 15/01/2007", "CR-2 01/02/2007", "CR-1 01/03/2007"}},  // undated first
      {4, {}},                                                                  // no rate picked
  };
  for (const Tab& t : tabs) {
    SCOPED_TRACE(t.tab);
    drv->selectTab(list(), el::CURRENTTAB, t.tab);
    EXPECT_EQ(shown(), t.listed);
    EXPECT_FALSE(insertEnabled());
  }
  pickRate(1);
  EXPECT_THAT(shown(), ElementsAre("CR-1 "));
  EXPECT_FALSE(insertEnabled());
  // The case picked last is still current on the first tab.
  drv->selectTab(list(), el::CURRENTTAB, 1);
  EXPECT_THAT(shown(), ElementsAre("CR-1 01/03/2007", "CR-1 "));
  EXPECT_TRUE(insertEnabled());
}

TEST_F(EntryListTest, AddsForThePickedCaseChangesAtTheEntrysOwnRateAndDeletesOneEntry) {
  open();
  pickCase(1);
  drv->click(list(), el::INSERT_3);
  Window& added = drv->window("Record Will Be Added");
  EXPECT_EQ(drv->text(added, ic::HOU_CASENUMBER), "CR-1");
  drv->edit(added, ic::HOU_BRIEFDESCRIPTIONSERVICES, "Motion");
  drv->type(added, ic::HOU_TRIAL, "1.5");
  drv->click(added, ic::OK);
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_THAT(writer->entryNumbers(), ElementsAre(1, 2, 3, 4, 5));
  EXPECT_EQ(writer->entryField(5, dictionary::HOU_CASENUMBER), "CR-1");
  EXPECT_EQ(writer->entryField(5, dictionary::HOU_TOTALSECTION_INCOURT), "150.00");
  EXPECT_EQ(rows().rowCount(), 3);

  // From the date tab, while CR-1 is current: CR-2's entry keeps CR-2's
  // rate.
  drv->selectTab(list(), el::CURRENTTAB, 3);
  drv->selectRow(list(), el::BROWSE_1, rowOf("CR-2", "01/02/2007"));
  drv->click(list(), el::CHANGE_3);
  Window& changed = drv->window("Record Will Be Changed");
  drv->type(changed, ic::HOU_TRIAL, "1");
  drv->click(changed, ic::OK);
  EXPECT_EQ(drv->findWindow("Record Will Be Changed"), nullptr);
  EXPECT_EQ(writer->entryField(2, dictionary::HOU_IN_TOTALHOURS), "3.0");
  EXPECT_EQ(writer->entryField(2, dictionary::HOU_TOTALSECTION_INCOURT), "150.00");

  drv->selectRow(list(), el::BROWSE_1, rowOf("CR-2", "15/01/2007"));
  drv->answer(platform::BtnYes);
  drv->click(list(), el::DELETE_3);
  ASSERT_FALSE(drv->messages().empty());
  EXPECT_EQ(drv->messages().back().text, "Are you sure you want to delete the highlighted record?");
  EXPECT_THAT(writer->entryNumbers(), ElementsAre(1, 2, 3, 5));
  EXPECT_EQ(rows().rowCount(), 4);
}

TEST_F(EntryListTest, InsertForACaseDeletedMeanwhileOpensNoForm) {
  const std::int64_t gone = writer->add({"CR-3", "Cole"});
  open();
  pickCase(3);
  ASSERT_TRUE(insertEnabled());
  writer->remove(gone);  // another copy of the program deletes the case
  drv->click(list(), el::INSERT_3);
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_FALSE(insertEnabled());
  EXPECT_THAT(writer->entryNumbers(), ElementsAre(1, 2, 3, 4));
}

// The rate list's hidden "View HOURLY": the entries of the selected rate,
// changed through the entry form; no case is current there, so no entry
// can be added.
TEST_F(EntryListTest, TheRateListsHiddenButtonListsTheEntriesOfTheSelectedRate) {
  start([] { cases::BrowseRateMilage(); });
  Window& rates = drv->window("Mileage Rate");
  drv->selectRow(rates, cases::rate_list::BROWSE_1, 2);  // 0.500
  rates.post(platform::EventKind::Accepted, cases::rate_list::BROWSEHOURLY);
  drv->settle();
  Window& byRate = drv->window("Browse the HOURLY file by HOU:KeyMilageRate");
  platform::Control& l = drv->control(byRate, el::BROWSE_1);
  ASSERT_EQ(l.rowCount(), 1);
  EXPECT_EQ(l.cell(1, 2), "15/01/2007");
  EXPECT_EQ(l.columns()[3].justify, platform::Justify::Left);
  EXPECT_FALSE(drv->control(byRate, el::INSERT_3).enabled());
  EXPECT_EQ(byRate.find(el::SELECTCASECLOSESUMMARY), nullptr);

  drv->click(byRate, el::CHANGE_3);
  Window& form = drv->window("Record Will Be Changed");
  EXPECT_EQ(drv->text(form, ic::HOU_CASENUMBER), "CR-2");
  EXPECT_EQ(drv->text(form, ic::CCS_HOURLYRATE), "$50.00");
  drv->click(form, ic::CANCEL);
  drv->click(byRate, el::CLOSE);
  EXPECT_EQ(drv->findWindow("Browse the HOURLY file by HOU:KeyMilageRate"), nullptr);
  EXPECT_TRUE(rates.takesInput());
}

}  // namespace
}  // namespace browsetest
