// The mileage-rate list and its form on the real record files, through the
// driver.

#include "cases/browse_rate_milage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cases/rate_fixture.h"

namespace ratetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace cases::rate_list;
namespace rf = cases::rate_form;
using platform::dayNumber;
using platform::Key;
using platform::KeyPress;

class BrowseRateTest : public RateTest {
 protected:
  void open() { start([] { cases::BrowseRateMilage(); }); }
  Window& list() { return drv->window("Mileage Rate"); }
  std::vector<std::string> shown() { return rows(list(), BROWSE_1); }
  std::string selectedRate() { return selected(list(), BROWSE_1); }
};

TEST_F(BrowseRateTest, ANewRateShowsTodayAndZeroAndIsStoredAsItIs) {
  open();
  EXPECT_EQ(drv->control(list(), BROWSE_1).rowCount(), 0);
  EXPECT_FALSE(drv->control(list(), CHANGE_4).enabled());
  EXPECT_FALSE(drv->control(list(), DELETE_4).enabled());
  for (int hidden : {TAB_3, SELECT_2, BROWSEHOURLY}) EXPECT_FALSE(drv->control(list(), hidden).visible()) << hidden;

  drv->click(list(), INSERT_4);
  Window& form = drv->window("Record Will Be Added");
  EXPECT_EQ(drv->text(form, rf::RTM_DATEMILAGERATE), "3/15/2007");
  EXPECT_EQ(drv->text(form, rf::RTM_MILAGERATE), "0.000");  // a number, not blank
  // Tab passes the date by.
  EXPECT_EQ(form.focus(), rf::RTM_MILAGERATE);
  std::vector<int> focus;
  for (int i = 0; i < 3; ++i) {
    drv->tab(form);
    focus.push_back(form.focus());
  }
  EXPECT_THAT(focus, ElementsAre(rf::OK, rf::CANCEL, rf::RTM_MILAGERATE));

  drv->click(form, rf::OK);  // the rate left at 0
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_TRUE(drv->messages().empty());
  EXPECT_THAT(writer->rates(), ElementsAre("3/15/2007 0.000"));
  EXPECT_THAT(shown(), ElementsAre("3/15/2007 0.000"));
  EXPECT_EQ(drv->text(list(), RTM_MILAGERATE), "0.000");
  EXPECT_TRUE(drv->control(list(), CHANGE_4).enabled());
}

TEST_F(BrowseRateTest, ARateLargerThanThePictureShowsIsRefusedAndChangesNothing) {
  open();
  drv->click(list(), INSERT_4);
  Window& form = drv->window("Record Will Be Added");
  drv->type(form, rf::RTM_MILAGERATE, "0.485");
  for (const char* typed : {"100", "1234.5"}) {
    SCOPED_TRACE(typed);
    const std::size_t before = drv->messages().size();
    drv->answer(platform::BtnOk);
    drv->type(form, rf::RTM_MILAGERATE, typed);
    ASSERT_EQ(drv->messages().size(), before + 1);
    EXPECT_EQ(drv->messages().back().title, "Invalid Entry");
    EXPECT_THAT(drv->messages().back().text, HasSubstr("99.999"));
    EXPECT_EQ(form.focus(), rf::RTM_MILAGERATE);
    EXPECT_EQ(threadBuffer(form), "3/15/2007 0.485");
  }
  // The largest rate the picture shows is taken.
  drv->type(form, rf::RTM_MILAGERATE, "99.999");
  drv->click(form, rf::OK);
  EXPECT_THAT(writer->rates(), ElementsAre("3/15/2007 99.999"));
}

TEST_F(BrowseRateTest, EqualRatesStandSideBySideAndTheHiddenTabListsByDate) {
  writer->add("0.485", dayNumber(2007, 1, 1));
  writer->add("1.250", dayNumber(2005, 6, 1));
  writer->add("0.445", dayNumber(2006, 1, 1));
  writer->add("0.485", dayNumber(2008, 1, 1));
  writer->add("0.500", 0);  // no date
  open();
  EXPECT_THAT(shown(), ElementsAre("1/1/2006 0.445", "1/1/2007 0.485", "1/1/2008 0.485", " 0.500", "6/1/2005 1.250"));
  EXPECT_EQ(drv->text(list(), RTM_MILAGERATE), "0.445");
  drv->selectRow(list(), BROWSE_1, 3);
  EXPECT_EQ(drv->text(list(), RTM_MILAGERATE), "0.485");

  // A typed character finds the first rate at or after it.
  drv->focus(list(), BROWSE_1);
  drv->press(list(), KeyPress::character(U'1'));
  EXPECT_EQ(selectedRate(), "6/1/2005 1.250");
  drv->press(list(), KeyPress::character(U'0'));
  EXPECT_EQ(selectedRate(), "1/1/2006 0.445");
  // The thumb stands for a rate between the lowest and the highest.
  drv->scroll(list(), BROWSE_1, platform::ScrollAction::Thumb, 100);
  EXPECT_EQ(selectedRate(), "6/1/2005 1.250");
  drv->scroll(list(), BROWSE_1, platform::ScrollAction::Thumb, 5);  // 0.485 and more
  EXPECT_EQ(selectedRate(), "1/1/2007 0.485");

  // Nothing shows the date tab; shown, it lists by date, the rate without
  // one first.
  drv->control(list(), TAB_3).setHidden(false);
  drv->selectTab(list(), CURRENTTAB, 2);
  EXPECT_THAT(shown(), ElementsAre(" 0.500", "6/1/2005 1.250", "1/1/2006 0.445", "1/1/2007 0.485", "1/1/2008 0.485"));
  drv->selectTab(list(), CURRENTTAB, 1);
  EXPECT_EQ(shown().front(), "1/1/2006 0.445");
}

TEST_F(BrowseRateTest, DeletingARateInUseLeavesEveryEntryAsItWas) {
  writer->add("0.445", dayNumber(2006, 1, 1));
  writer->add("0.485", dayNumber(2007, 1, 1));
  writer->addEntry(1, "2:07-CR-001", "0.485", "37");
  writer->addEntry(2, "2:07-CR-001", "0.445", "12");
  writer->addEntry(3, "2:07-CR-002", "0.485", "100");
  const std::vector<Stored> entries = writer->entries();
  ASSERT_EQ(entries.size(), 3u);
  open();
  EXPECT_EQ(drv->text(list(), STRING3), "Do not delete old mileage rates");
  drv->selectRow(list(), BROWSE_1, 2);
  drv->answer(platform::BtnYes);
  drv->focus(list(), BROWSE_1);
  drv->press(list(), KeyPress(Key::Delete));
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Confirm Delete");
  EXPECT_THAT(writer->rates(), ElementsAre("1/1/2006 0.445"));
  EXPECT_THAT(shown(), ElementsAre("1/1/2006 0.445"));
  EXPECT_EQ(writer->entries(), entries);
}

TEST_F(BrowseRateTest, ADoubleClickChangesTheRateAndViewHourlyCallsOnTheSelectedOne) {
  writer->add("0.445", dayNumber(2006, 1, 1));
  writer->add("0.485", dayNumber(2007, 1, 1));
  open();
  drv->doubleClick(list(), BROWSE_1, 1);
  Window& form = drv->window("Record Will Be Changed");
  EXPECT_EQ(drv->text(form, rf::RTM_MILAGERATE), "0.445");
  EXPECT_EQ(drv->text(form, rf::RTM_DATEMILAGERATE), "1/1/2006");
  drv->type(form, rf::RTM_MILAGERATE, "0.505");
  drv->click(form, rf::OK);
  EXPECT_THAT(shown(), ElementsAre("1/1/2007 0.485", "1/1/2006 0.505"));
  EXPECT_EQ(selectedRate(), "1/1/2006 0.505");

  // The hidden button reads the rate again and calls the entries of it.
  EXPECT_EQ(std::string(cases::RateListCalls()[0].procedure), "BrowseHOURLYByHOU:KeyMilageRate");
  drv->selectRow(list(), BROWSE_1, 1);
  list().post(platform::EventKind::Accepted, BROWSEHOURLY);
  drv->settle();
  ASSERT_EQ(ownCalls().size(), 1u);
  EXPECT_EQ(ownCalls()[0].request, 0);
  EXPECT_EQ(ownCalls()[0].rate, "1/1/2007 0.485");
  EXPECT_EQ(selectedRate(), "1/1/2007 0.485");
  EXPECT_TRUE(list().takesInput());
}

}  // namespace
}  // namespace ratetest
