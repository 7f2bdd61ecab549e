#pragma once
// The local date and time, behind a replaceable source so that tests can fix
// the clock.

#include <cstdint>
#include <functional>

#include "platform/types/daynum.h"

namespace platform {

struct LocalDateTime {
  Ymd date;
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  int centisecond = 0;
};

// Time-of-day values count hundredths of a second since midnight plus 1, so
// that 0 can stand for "no time" (1 is midnight).
constexpr std::int32_t NoTime = 0;
std::int32_t timeValue(int hour, int minute, int second, int centisecond = 0);
struct Hms {
  int hour = 0, minute = 0, second = 0, centisecond = 0;
};
Hms fromTimeValue(std::int32_t t);

using ClockSource = std::function<LocalDateTime()>;

// The current local date and time (the system clock unless replaced).
LocalDateTime localNow();
// Today's local date as a day number.
std::int32_t today();
// The current local time as a time value.
std::int32_t clockTime();

// Replaces the clock; an empty function restores the system clock.
void setClockSource(ClockSource source);

}  // namespace platform
