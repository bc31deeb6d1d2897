#pragma once

#include <cstdint>

// A local date and time as a date serial: whole days counted from 30 December
// 1899 as day 0, plus the fraction of the day. The serial is kept to the whole
// second. Reading one back rounds it to the nearest second first, so a value a
// hair below a minute boundary never reads as second 59 of the minute before.
class tqDateSerial {
 public:
  // Day 0 at midnight.
  tqDateSerial() = default;
  // Not a number, or a day outside the years 100 to 9999, reads as day 0.
  explicit tqDateSerial(double serial);
  // Fields outside their ranges carry over: month 13 is January of the next
  // year, day 0 the last day of the month before, second 60 the next minute.
  static tqDateSerial fromFields(int year, int month, int day, int hour = 0, int minute = 0,
                                 int second = 0);
  // The current local time; day 0 when the system cannot tell it.
  static tqDateSerial now();

  double value() const;
  int year() const;
  // 1 to 12.
  int month() const;
  // 1 to 31.
  int day() const;
  int hour() const;
  int minute() const;
  int second() const;
  // 1 for Sunday to 7 for Saturday, whatever the system's first day of the week.
  int weekday() const;

 private:
  explicit tqDateSerial(std::int64_t secondsSinceDayZero);

  std::int64_t day_ = 0;
  std::int32_t secondOfDay_ = 0;
  // Day 0 is Saturday, 30 December 1899.
  std::int32_t year_ = 1899;
  std::int32_t month_ = 12;
  std::int32_t dayOfMonth_ = 30;
};
