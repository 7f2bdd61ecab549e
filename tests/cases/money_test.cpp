// The case totals window, opened from the real case list: its figures over
// every entry of the case, rounded once over the summed hours; a rate of
// 0; a list that scrolls but opens nothing.

#include "cases/money.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/desktop.h"
#include "tests/cases/worksheet_fixture.h"

namespace sheettest {
namespace {

using ::testing::ElementsAre;
namespace mo = cases::money;

class MoneyTest : public SheetTest {
 protected:
  Window& money(const std::string& name) {
    return open(name, cl::BUTTON10, "TOTALS");
  }
  std::vector<std::string> figures(Window& w) {
    std::vector<std::string> out;
    for (int c : {mo::HOU_IN_TOTALHOURS, mo::HOU_TOTALSECTION_INCOURT, mo::HOU_OUT_TOTALHOURS,
                  mo::HOU_TOTALSECTION_OUTCOURT, mo::HOU_TOTALSECTION, mo::HOU_GRANDTOTAL})
      out.push_back(drv->text(w, c));
    return out;
  }
  // The entries of the totals example: an in-court entry stored with no
  // amount, an out-of-court one, and one of expenses.
  void seedExample(const std::string& number) {
    using namespace dictionary;
    entries->addMany({
        {number, {{HOU_TRIAL, "0.3"}, {HOU_IN_TOTALHOURS, "0.3"}}, "Hearing"},
        {number, {{HOU_REVIEWRECORDS, "0.3"}, {HOU_OUT_TOTALHOURS, "0.3"}, {HOU_TOTALSECTION_OUTCOURT, "10.01"}}, "Review"},
        {number,
         {{HOU_MILAGERATE, "0.485"},
          {HOU_MILEAGE, "37"},
          {HOU_TOTALMILAGE, "17.95"},
          {HOU_PARKING, "5.00"},
          {HOU_COPYING, "1.25"},
          {HOU_TOTALSECTIONTRAVEL, "22.95"},
          {HOU_TOTALSECTIONOTHER, "1.25"},
          {HOU_TOTALSECTION, "24.20"}},
         "Drive"},
    });
  }
};

// Notes the grand total's first text and the event its window was
// handling when it was shown.
struct FirstShown : platform::DesktopObserver {
  std::string text;
  platform::EventKind during{};
  bool seen = false;
  void propertyChanged(Window& w, platform::Control& c, platform::Prop p) override {
    if (seen || w.caption() != "TOTALS" || c.number() != mo::HOU_GRANDTOTAL || p != platform::Prop::Text) return;
    seen = true;
    text = c.text();
    during = w.event().kind;
  }
};

TEST_F(MoneyTest, TotalsEveryEntryOfTheCase) {
  writer->add({"CR-1", "Adams", "33.35"});
  seedExample("CR-1");
  openList();
  FirstShown first;
  platform::desktop().addObserver(&first);
  Window& w = money("Adams");
  platform::desktop().removeObserver(&first);
  // Shown as the window opens, before any event of a control.
  EXPECT_EQ(first.text, "$44.22");
  EXPECT_EQ(first.during, platform::EventKind::OpenWindow);
  EXPECT_EQ(w.caption(), "TOTALS");
  EXPECT_EQ(drv->text(w, mo::CCS_CASENUMBER), "CR-1");
  EXPECT_THAT(figures(w), ElementsAre("0.3", "$10.01", "0.3", "$10.01", "$24.20", "$44.22"));
  // Every entry is listed, the case's rate on every row.
  platform::Control& list = drv->control(w, mo::BROWSE_1);
  EXPECT_THAT(column(w, mo::BROWSE_1, 2), ElementsAre("Hearing", "Review", "Drive"));
  EXPECT_THAT(column(w, mo::BROWSE_1, 3), ElementsAre("$33.35", "$33.35", "$33.35"));
  EXPECT_EQ(list.columns().size(), 26u);
  EXPECT_EQ(list.cell(3, 18), "17.95");
  // The column totals' own displays.
  EXPECT_EQ(drv->text(w, mo::G(4)), "0.3");
  EXPECT_EQ(drv->text(w, mo::G2(9)), "0.3");
  EXPECT_EQ(drv->text(w, mo::G(13)), "$17.95");
  EXPECT_EQ(cases::TotalGlobal(13).text(), "17.95");
  for (int b : {mo::INSERT_3, mo::CHANGE_3, mo::DELETE_3}) EXPECT_TRUE(drv->control(w, b).hidden());
}

// Two entries of 0.3 hours at 33.35 are stored at 10.01 each; the window
// prices their sum once.
TEST_F(MoneyTest, RoundsOnceOverTheSummedHours) {
  writer->add({"CR-1", "Adams", "33.35"});
  for (int i = 0; i < 2; ++i)
    entries->add({"CR-1", {{dictionary::HOU_TRIAL, "0.3"}, {dictionary::HOU_TOTALSECTION_INCOURT, "10.01"}}});
  openList();
  Window& w = money("Adams");
  EXPECT_THAT(figures(w), ElementsAre("0.6", "$20.01", "", "", "", "$20.01"));
}

TEST_F(MoneyTest, ARateOfZeroLeavesTheAmountsToBillBlank) {
  writer->add({"CR-1", "Adams", "0"});
  seedExample("CR-1");
  openList();
  Window& w = money("Adams");
  EXPECT_THAT(figures(w), ElementsAre("0.3", "", "0.3", "", "$24.20", "$24.20"));
}

TEST_F(MoneyTest, TheListScrollsToEveryEntryAndOpensNothing) {
  writer->add({"CR-1", "Adams", "100"});
  std::vector<Entry> many;
  for (int i = 1; i <= 50; ++i) many.push_back({"CR-1", {{dictionary::HOU_TRIAL, "1.0"}}, "Entry " + std::to_string(i)});
  entries->addMany(many);
  openList();
  Window& w = money("Adams");
  EXPECT_THAT(figures(w), ElementsAre("50.0", "$5,000.00", "", "", "", "$5,000.00"));
  drv->focus(w, mo::BROWSE_1);
  drv->press(w, platform::Key::End);
  platform::Control& list = drv->control(w, mo::BROWSE_1);
  EXPECT_EQ(list.cell(list.selected(), 2), "Entry 50");
  for (platform::KeyPress key : {platform::KeyPress(platform::Key::Enter), platform::KeyPress(platform::Key::Insert),
                                 platform::KeyPress(platform::Key::Delete),
                                 platform::KeyPress(platform::Key::Enter, platform::ModCtrl)})
    drv->press(w, key);
  drv->doubleClick(w, mo::BROWSE_1, list.selected());
  EXPECT_EQ(&drv->active(w.thread()), &w) << "no form, no question";
  EXPECT_TRUE(drv->messages().empty());
  EXPECT_EQ(entries->count(), 50);
}

}  // namespace
}  // namespace sheettest
