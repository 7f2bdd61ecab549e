#pragma once
// Day numbers: the system's date values. Day 0 is 28 December 1800, so
// 1 January 1801 (a Thursday) is day 4. The calendar is Gregorian. The value
// 0 stands for "no date". Dates before the epoch have negative numbers.

#include <cstdint>

namespace platform {

constexpr std::int32_t NoDate = 0;

struct Ymd {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  friend bool operator==(const Ymd&, const Ymd&) = default;
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);  // 0 for a month outside 1..12
bool isValidDate(int year, int month, int day);

// Day number of a valid date (precondition: isValidDate).
std::int32_t dayNumber(int year, int month, int day);
inline std::int32_t dayNumber(const Ymd& d) { return dayNumber(d.year, d.month, d.day); }

// Calendar date of a day number.
Ymd fromDayNumber(std::int32_t day);

// Weekday of a day number, 0 Sunday .. 6 Saturday; a floored modulo, so it is
// 0..6 for negative day numbers too.
int weekday(std::int32_t day);

// Floored modulo: always in 0..m-1 for m > 0.
constexpr int floorMod(std::int64_t a, int m) {
  std::int64_t r = a % m;
  return static_cast<int>(r < 0 ? r + m : r);
}

}  // namespace platform
