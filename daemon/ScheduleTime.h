#pragma once

#include "lib/lang/tqDateSerial.h"

// The bounds of a schedule's five fields, in field order: minute, hour, day of
// the month, month, day of the week. Day of the week 7 is Sunday, as 0 is.
struct ScheduleFieldRange {
  int first;
  int last;
};
inline constexpr int scheduleFieldCount = 5;
inline constexpr ScheduleFieldRange scheduleFieldRanges[scheduleFieldCount] = {
    {0, 59}, {0, 23}, {1, 31}, {1, 12}, {0, 7}};
inline constexpr int weekdayField = 4;
inline constexpr int sundayAsSeven = 7;

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
};
