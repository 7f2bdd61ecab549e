#include "platform/types/daynum.h"

#include <gtest/gtest.h>

#include "platform/types/clock.h"

namespace platform {
namespace {

TEST(DayNumber, Anchors) {
  EXPECT_EQ(dayNumber(1800, 12, 28), 0);
  EXPECT_EQ(dayNumber(1801, 1, 1), 4);
  EXPECT_EQ(weekday(4), 4);  // Thursday
  EXPECT_EQ(dayNumber(2007, 3, 15), 75317);
  EXPECT_EQ(weekday(75317), 4);  // also a Thursday
  EXPECT_EQ(weekday(dayNumber(2007, 12, 1)), 6);  // December 2007 begins on a Saturday
  EXPECT_EQ(weekday(dayNumber(2009, 2, 1)), 0);   // February 2009 on a Sunday
  EXPECT_EQ((fromDayNumber(75317)), (Ymd{2007, 3, 15}));
}

TEST(DayNumber, LeapYearsFollowTheGregorianRule) {
  EXPECT_TRUE(isValidDate(2000, 2, 29));
  EXPECT_TRUE(isValidDate(2024, 2, 29));
  EXPECT_TRUE(isValidDate(2004, 2, 29));
  EXPECT_FALSE(isValidDate(1900, 2, 29));
  EXPECT_FALSE(isValidDate(2007, 2, 29));
  EXPECT_EQ(daysInMonth(2100, 2), 28);
  EXPECT_EQ(daysInMonth(2007, 4), 30);
  EXPECT_EQ(daysInMonth(2007, 13), 0);
  EXPECT_EQ(daysInMonth(2007, 0), 0);
  EXPECT_EQ(dayNumber(2000, 3, 1) - dayNumber(2000, 2, 28), 2);
  EXPECT_EQ(dayNumber(1900, 3, 1) - dayNumber(1900, 2, 28), 1);
}

TEST(DayNumber, DatesBeforeTheEpochAreNegativeWithWeekdaysZeroToSix) {
  EXPECT_EQ(dayNumber(1800, 12, 27), -1);
  EXPECT_EQ(weekday(-1), 6);  // Saturday
  EXPECT_EQ(weekday(-7), 0);
  EXPECT_EQ(weekday(-8), 6);
  EXPECT_EQ(weekday(dayNumber(1776, 7, 4)), 4);  // a Thursday
  EXPECT_EQ(weekday(dayNumber(1800, 1, 1)), 3);  // a Wednesday
  EXPECT_EQ((fromDayNumber(-1)), (Ymd{1800, 12, 27}));
  EXPECT_EQ(floorMod(-15, 7), 6);
  EXPECT_EQ(floorMod(15, 7), 1);
}

TEST(DayNumber, EveryDayFromYear1To9999FollowsTheDayBefore) {
  const std::int32_t first = dayNumber(1, 1, 1), last = dayNumber(9999, 12, 31);
  Ymd prev = fromDayNumber(first);
  ASSERT_EQ(prev, (Ymd{1, 1, 1}));
  int wd = weekday(first);
  for (std::int32_t d = first + 1; d <= last; ++d) {
    const Ymd cur = fromDayNumber(d);
    const bool nextDay = cur.year == prev.year && cur.month == prev.month && cur.day == prev.day + 1;
    const bool nextMonth = cur.day == 1 && prev.day == daysInMonth(prev.year, prev.month) &&
                           ((cur.year == prev.year && cur.month == prev.month + 1) ||
                            (cur.year == prev.year + 1 && cur.month == 1 && prev.month == 12));
    ASSERT_TRUE(nextDay || nextMonth) << d;
    ASSERT_EQ(dayNumber(cur), d);
    wd = (wd + 1) % 7;
    ASSERT_EQ(weekday(d), wd) << d;
    prev = cur;
  }
  EXPECT_EQ(prev, (Ymd{9999, 12, 31}));
}

TEST(DayNumber, InvalidDatesHaveNoDayNumber) {
  EXPECT_EQ(dayNumber(2007, 2, 29), NoDate);
  EXPECT_EQ(dayNumber(2007, 13, 1), NoDate);
  EXPECT_EQ(dayNumber(2007, 1, 32), NoDate);
  EXPECT_EQ(dayNumber(0, 1, 1), NoDate);
}

class ClockTest : public ::testing::Test {
 protected:
  void TearDown() override { setClockSource({}); }
};

TEST_F(ClockTest, AReplacedClockGivesTodayAndTheTime) {
  LocalDateTime fixed;
  fixed.date = Ymd{2007, 3, 15};
  fixed.hour = 14;
  fixed.minute = 5;
  fixed.second = 9;
  setClockSource([fixed] { return fixed; });
  EXPECT_EQ(today(), 75317);
  EXPECT_EQ(clockTime(), timeValue(14, 5, 9));
  setClockSource({});
  EXPECT_GT(today(), dayNumber(2020, 1, 1));  // the system clock again
}

TEST(TimeValue, CountsHundredthsFromMidnightPlusOne) {
  EXPECT_EQ(timeValue(0, 0, 0), 1);
  EXPECT_EQ(timeValue(0, 0, 1), 101);
  EXPECT_EQ(timeValue(23, 59, 59, 99), 24 * 60 * 60 * 100);
  const Hms t = fromTimeValue(timeValue(14, 5, 9, 42));
  EXPECT_EQ(t.hour, 14);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 9);
  EXPECT_EQ(t.centisecond, 42);
  const Hms none = fromTimeValue(NoTime);
  EXPECT_EQ(none.hour + none.minute + none.second + none.centisecond, 0);
}

}  // namespace
}  // namespace platform
