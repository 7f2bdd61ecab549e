#include "platform/types/clock.h"

#include <chrono>
#include <ctime>
#include <utility>

namespace platform {
namespace {

constexpr std::int32_t CentisecondsPerDay = 24 * 60 * 60 * 100;

ClockSource& source() {
  static ClockSource s;
  return s;
}

LocalDateTime systemNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&secs, &tm);
  const auto sinceSecond = now - system_clock::from_time_t(secs);
  LocalDateTime out;
  out.date = Ymd{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
  out.hour = tm.tm_hour;
  out.minute = tm.tm_min;
  // A leap second reads as the last second of its minute.
  out.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  const auto cs = duration_cast<milliseconds>(sinceSecond).count() / 10;
  out.centisecond = cs < 0 ? 0 : (cs > 99 ? 99 : static_cast<int>(cs));
  return out;
}

}  // namespace

std::int32_t timeValue(int hour, int minute, int second, int centisecond) {
  return ((hour * 60 + minute) * 60 + second) * 100 + centisecond + 1;
}

Hms fromTimeValue(std::int32_t t) {
  // NoTime and anything before it read as midnight; values past the end of
  // the day wrap round to the same time of day.
  const int cs = t <= NoTime ? 0 : floorMod(static_cast<std::int64_t>(t) - 1, CentisecondsPerDay);
  Hms out;
  out.centisecond = cs % 100;
  out.second = cs / 100 % 60;
  out.minute = cs / 6000 % 60;
  out.hour = cs / 360000;
  return out;
}

LocalDateTime localNow() {
  const ClockSource& s = source();
  return s ? s() : systemNow();
}

std::int32_t today() { return dayNumber(localNow().date); }

std::int32_t clockTime() {
  const LocalDateTime now = localNow();
  return timeValue(now.hour, now.minute, now.second, now.centisecond);
}

void setClockSource(ClockSource s) { source() = std::move(s); }

}  // namespace platform
