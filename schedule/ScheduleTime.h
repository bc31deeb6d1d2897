#pragma once

#include <chrono>

#include "lib/lang/tqDateSerial.h"

namespace schedule {

// The bounds of a schedule's five fields, in field order: minute, hour, day of
// the month, month, day of the week. Day of the week 7 is Sunday, as 0 is.
struct ScheduleFieldRange {
  int first;
  int last;
};
inline constexpr int scheduleFieldCount = 5;
inline constexpr ScheduleFieldRange scheduleFieldRanges[scheduleFieldCount] = {
    {0, 59}, {0, 23}, {1, 31}, {1, 12}, {0, 7}};
inline constexpr int minuteField = 0;
inline constexpr int hourField = 1;
inline constexpr int monthField = 3;
inline constexpr int weekdayField = 4;
inline constexpr int sundayAsSeven = 7;

// A minute of the local date and time as the clock shows it, without its
// offset from UTC: 02:30 on the day summer time ends is one LocalMinute, though
// it happens twice.
using LocalMinute = std::chrono::local_time<std::chrono::minutes>;

// The values a schedule is matched against: the minute of a local time, with
// the weekday 0 for Sunday to 6 for Saturday. Seconds play no part.
struct ScheduleTime {
  int minute = 0;
  int hour = 0;
  int day = 1;
  int month = 1;
  int weekday = 0;

  static ScheduleTime of(const tqDateSerial& time) {
    return {time.minute(), time.hour(), time.day(), time.month(), time.weekday() - 1};
  }
  static ScheduleTime of(LocalMinute time) {
    const std::chrono::local_days day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss<std::chrono::minutes> clock(time - day);
    return {static_cast<int>(clock.minutes().count()), static_cast<int>(clock.hours().count()),
            static_cast<int>(unsigned(date.day())), static_cast<int>(unsigned(date.month())),
            static_cast<int>(std::chrono::weekday(day).c_encoding())};
  }
};

}  // namespace schedule
