#include "cases/select_date.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/ui/headless/driver.h"

namespace {

namespace sd = cases::select_date;
using platform::dayNumber;

constexpr platform::Color Red = platform::rgb(0xFF, 0, 0);

// What the grid shows: the title, the cell of day 1, the number of days,
// the cells that carry the red mark and the cells that are hidden.
struct Grid {
  std::string title;
  int first = 0;
  int days = 0;
  std::vector<int> marked;
  std::vector<int> hidden;
};

class SelectDateTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::setClockSource({});
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
  }

  // Opens the calendar on a thread of its own with `day`.
  platform::Window& open(std::int32_t day) {
    thread_ = drv.start([this, day] { result_ = cases::SelectDate(day); });
    return drv.active(thread_);
  }

  std::optional<std::int32_t> result() const { return result_; }

  Grid grid(platform::Window& w) {
    Grid g;
    g.title = drv.text(w, sd::XMNTHYR);
    for (int n = 1; n <= sd::Cells; ++n) {
      const platform::Control& c = w.control(sd::cell(n));
      const std::string& t = c.text();
      if (t != "  ") {
        ++g.days;
        if (g.first == 0) g.first = n;
        // Days run on from day 1, one a cell, left-aligned in two places.
        std::string expected = std::to_string(n - g.first + 1);
        if (expected.size() < 2) expected += ' ';
        EXPECT_EQ(t, expected) << "cell " << n;
      }
      if (c.fontColor() == Red) g.marked.push_back(n);
      if (c.hidden()) g.hidden.push_back(n);
    }
    return g;
  }

  static std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n) v.push_back(n);
    return v;
  }

  platform::HeadlessDriver drv;
  int thread_ = 0;
  std::optional<std::int32_t> result_;
};

TEST_F(SelectDateTest, OpensOnTheMonthOfTheGivenDate) {
  struct Case {
    const char* what;
    std::int32_t day;
    const char* title;
    int first, days;
    std::vector<int> marked, hidden;
  };
  const Case cases[] = {
      {"15 March 2007", dayNumber(2007, 3, 15), "March - 2007", 5, 31, {19}, {1, 2, 3, 4, 36, 37}},
      {"a Saturday start with 31 days", dayNumber(2007, 12, 31), "December - 2007", 7, 31, {37}, range(1, 6)},
      {"a 28-day February from a Sunday", dayNumber(2009, 2, 1), "February - 2009", 1, 28, {1}, range(29, 37)},
      {"February 1900 has 28 days", dayNumber(1900, 2, 10), "February - 1900", 5, 28, {14}, {1, 2, 3, 4, 33, 34, 35, 36, 37}},
      {"February 2000 has 29 days", dayNumber(2000, 2, 10), "February - 2000", 3, 29, {12}, {1, 2, 32, 33, 34, 35, 36, 37}},
      {"February 2004 has 29 days", dayNumber(2004, 2, 10), "February - 2004", 1, 29, {10}, range(30, 37)},
      {"February 2007 has 28 days", dayNumber(2007, 2, 10), "February - 2007", 5, 28, {14}, {1, 2, 3, 4, 33, 34, 35, 36, 37}},
      {"the title of September 2007 fills its 16 characters", dayNumber(2007, 9, 9), "September - 2007", 7, 30, {15},
       {1, 2, 3, 4, 5, 6, 37}},
      {"the first month of the range", dayNumber(1801, 1, 1), "January - 1801", 5, 31, {5}, {1, 2, 3, 4, 36, 37}},
      {"a date before the epoch", -5, "December - 1800", 2, 31, {24}, {1, 33, 34, 35, 36, 37}},
      {"a date after the range", dayNumber(2150, 6, 1), "June - 2150", 2, 30, {2}, {1, 32, 33, 34, 35, 36, 37}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::Window& w = open(c.day);
    Grid g = grid(w);
    EXPECT_EQ(g.title, c.title);
    EXPECT_EQ(g.first, c.first);
    EXPECT_EQ(g.days, c.days);
    EXPECT_EQ(g.marked, c.marked);
    EXPECT_EQ(g.hidden, c.hidden);
    EXPECT_EQ(w.caption(), "");
    drv.click(w, sd::CANCELBUTTON);
  }
}

TEST_F(SelectDateTest, NoDateOpensOnTodayWithTodayMarked) {
  platform::setClockSource([] {
    platform::LocalDateTime t;
    t.date = {2007, 3, 15};
    return t;
  });
  platform::Window& w = open(platform::NoDate);
  Grid g = grid(w);
  EXPECT_EQ(g.title, "March - 2007");
  EXPECT_EQ(g.marked, std::vector<int>{19});
}

// Each step: a button, then the title and the marked cells it leads to.
struct Step {
  int button;
  const char* title;
  std::vector<int> marked;
};

class SelectDateSteps : public SelectDateTest {
 protected:
  void walk(std::int32_t from, const std::vector<Step>& steps) {
    platform::Window& w = open(from);
    for (const Step& s : steps) {
      drv.click(w, s.button);
      Grid g = grid(w);
      EXPECT_EQ(g.title, s.title);
      EXPECT_EQ(g.marked, s.marked) << s.title;
    }
    drv.click(w, sd::CANCELBUTTON);
  }
};

TEST_F(SelectDateSteps, TheMarkFollowsTheDayOfTheMonth) {
  // Opened on the 15th, every month marks its 15th.
  walk(dayNumber(2007, 3, 15), {{sd::NEXTBUTTON, "April - 2007", {15}},
                                {sd::NEXTYEARBUTTON, "April - 2008", {17}},
                                {sd::PREVIOUSBUTTON, "March - 2008", {21}}});
  // Opened on the 31st, a 30-day month shows no mark: its cell is hidden.
  platform::Window& w = open(dayNumber(2007, 3, 31));
  drv.click(w, sd::NEXTBUTTON);
  Grid g = grid(w);
  EXPECT_EQ(g.title, "April - 2007");
  EXPECT_EQ(g.marked, std::vector<int>{31});
  EXPECT_TRUE(w.control(sd::cell(31)).hidden());
  drv.click(w, sd::NEXTBUTTON);
  EXPECT_EQ(grid(w).marked, std::vector<int>{33});  // May 2007 begins on a Tuesday
  drv.click(w, sd::CANCELBUTTON);
}

TEST_F(SelectDateSteps, TheYearStaysWithinItsBoundsInTheDirectionOfTheStep) {
  walk(dayNumber(1801, 1, 1), {{sd::PREVIOUSBUTTON, "December - 1801", {3}},
                               {sd::NEXTBUTTON, "January - 1802", {6}}});
  walk(dayNumber(1801, 3, 1), {{sd::PREVIOUSYEARBUTTON, "March - 1801", {1}}});
  walk(dayNumber(2099, 12, 1), {{sd::NEXTBUTTON, "January - 2099", {5}},
                                {sd::NEXTYEARBUTTON, "January - 2099", {5}}});
  // A date outside the range is shown; a step towards the range jumps to it
  // only in the direction that crosses the bound.
  walk(dayNumber(2150, 6, 1), {{sd::NEXTYEARBUTTON, "June - 2099", {2}}});
  walk(dayNumber(2150, 6, 1), {{sd::PREVIOUSYEARBUTTON, "June - 2149", {1}}});
  walk(-5, {{sd::PREVIOUSYEARBUTTON, "December - 1801", {25}}});
}

TEST_F(SelectDateTest, AClickOnADayAnswersItsDate) {
  platform::Window& w = open(dayNumber(2007, 3, 15));
  drv.click(w, sd::NEXTBUTTON);  // April 2007 begins on a Sunday
  drv.click(w, sd::cell(30));
  EXPECT_EQ(result(), dayNumber(2007, 4, 30));
  EXPECT_TRUE(drv.openWindows().empty());
}

TEST_F(SelectDateTest, CancelAndTheCloseBoxAnswerNoDate) {
  platform::Window& first = open(dayNumber(2007, 3, 15));
  drv.click(first, sd::CANCELBUTTON);
  EXPECT_EQ(result(), 0);

  result_.reset();
  platform::Window& second = open(dayNumber(2007, 3, 15));
  drv.click(second, sd::NEXTBUTTON);
  drv.close(second);
  EXPECT_EQ(result(), 0);
}

TEST_F(SelectDateTest, HiddenCellsCannotBeChosen) {
  platform::Window& w = open(dayNumber(2007, 12, 31));
  EXPECT_THROW(drv.click(w, sd::cell(1)), platform::DriverError);
  EXPECT_TRUE(w.isOpen());
  drv.click(w, sd::CANCELBUTTON);
}

}  // namespace
