#pragma once

#include <chrono>
#include <span>
#include <string_view>

namespace schedule {

// The five fields of a schedule, in the order they are written.
enum class ScheduleField { minute, hour, dayOfMonth, month, dayOfWeek };
inline constexpr int scheduleFieldCount = 5;

// A field as the grammar reads it and its reasons name it: its values, and
// the names that stand for them, in any case, the first name for the first
// value (jan is 1, sun is 0).
struct ScheduleFieldRule {
  std::string_view name;
  int first;
  int last;
  std::span<const std::string_view> valueNames;
  // What a word of letters should have been: "a month name"; empty without names.
  std::string_view valueNameKind;
};

inline constexpr std::string_view scheduleMonthNames[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                  "jul", "aug", "sep", "oct", "nov", "dec"};
inline constexpr std::string_view scheduleDayNames[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

// Day of the week 7 is Sunday, as 0 is.
inline constexpr int sundayAsSeven = 7;

// In ScheduleField order.
inline constexpr ScheduleFieldRule scheduleFieldRules[scheduleFieldCount] = {
    {"minute", 0, 59, {}, {}},
    {"hour", 0, 23, {}, {}},
    {"day of month", 1, 31, {}, {}},
    {"month", 1, 12, scheduleMonthNames, "a month name"},
    {"day of week", 0, sundayAsSeven, scheduleDayNames, "a day name"},
};

constexpr const ScheduleFieldRule& ruleOf(ScheduleField field) { return scheduleFieldRules[static_cast<int>(field)]; }

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
