#include "platform/types/daynum.h"

namespace platform {
namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (Hinnant's
// algorithm: years are counted from March so that the leap day ends a year).
constexpr std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;                        // 0..399
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // 0..365
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // 0..146096
  return era * 146097 + doe - 719468;
}

constexpr std::int64_t Epoch = daysFromCivil(1800, 12, 28);
static_assert(daysFromCivil(1801, 1, 1) - Epoch == 4);

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

std::int32_t dayNumber(int year, int month, int day) {
  if (!isValidDate(year, month, day)) return NoDate;
  return static_cast<std::int32_t>(daysFromCivil(year, month, day) - Epoch);
}

Ymd fromDayNumber(std::int32_t day) {
  const std::int64_t z = day + Epoch + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;                                     // 0..146096
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // 0..399
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);             // 0..365
  const std::int64_t mp = (5 * doy + 2) / 153;                                   // 0..11
  Ymd out;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
  return out;
}

int weekday(std::int32_t day) { return floorMod(day, 7); }

}  // namespace platform
