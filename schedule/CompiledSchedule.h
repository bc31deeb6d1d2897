#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "schedule/ScheduleTime.h"

namespace schedule {

// The schedule text of the entries that run once, when plandek starts: in the
// file, the first word of their line.
inline constexpr std::string_view startUpSchedule = "@reboot";

// A schedule compiled once into one bit set per field, so that asking whether
// it is due costs a few shifts and no allocation. The only reader of the
// schedule grammar:
//
// A schedule is "@reboot" or five fields separated by single blanks. A field is
//   base ["/" step],  base := "*" | item ("," item)*,  item := value ["-" value]
// where a value is digits inside the field's range or, in the month field,
// jan ... dec and, in the day-of-week field, sun ... sat, in any case. A step
// is digits, 1 or more; ranges do not run backwards, but a range that ends in
// the name sun ends at 7, so sat-sun is Saturday and Sunday. "*" stands for 0
// to 59 in every field, and a step keeps the values whose distance from the
// field's first value it divides: */15 is 0, 15, 30, 45 and 1,2,3/2 is 1 and 3.
class CompiledSchedule {
 public:
  // Never due.
  CompiledSchedule() = default;
  // The schedule of startUpSchedule: it runs at start-up and is never due.
  static CompiledSchedule atStartUp();

  // The time's values must lie in their fields' ranges.
  bool isDue(const ScheduleTime& time) const {
    return (minutes_ >> (time.minute & 63) & std::uint64_t{hours_} >> (time.hour & 63) &
            std::uint64_t{days_} >> (time.day & 63) & std::uint64_t{months_} >> (time.month & 63) &
            std::uint64_t{weekdays_} >> (time.weekday & 63) & 1) != 0;
  }
  bool runsAtStartUp() const { return runsAtStartUp_; }
  // True when the minute or the hour field begins with "*": an entry that
  // repeats through the day; the others are appointments, kept at a fixed
  // time. Clock changes treat the two kinds differently.
  bool isRepeating() const { return isRepeating_; }

  // Whether some minute of some year is due: not so for 30 February or 31
  // April. Answered from the fields alone, for the 14 kinds of year (leap or
  // not, by the weekday of 1 January).
  bool isEverDue() const;
  // In which years some minute is due, from the fields alone.
  enum class YearsDue {
    every,
    // 29 February alone makes it due.
    leapOnly,
    // A date due only on weekdays it falls on in some years (1 January on a Monday).
    some,
    never,
  };
  YearsDue yearsDue() const;
  // The first due minute from `from` on and before `until`; none when there
  // is none. Steps day by day over the day, month and weekday fields, then
  // to the hour and minute, so a year costs a few hundred steps at most.
  std::optional<LocalMinute> firstDueFrom(LocalMinute from, LocalMinute until) const;

 private:
  friend struct ScheduleCompiler;

  bool isDueInYearOfKind(bool leap, int weekdayOfFirstJanuary) const;
  bool isDueOnDay(std::chrono::year_month_day date, std::chrono::weekday weekday) const;

  std::uint64_t minutes_ = 0;
  std::uint32_t hours_ = 0;
  std::uint32_t days_ = 0;
  std::uint16_t months_ = 0;
  // Sunday is bit 0; a 7 in the field is folded into it.
  std::uint8_t weekdays_ = 0;
  bool runsAtStartUp_ = false;
  bool isRepeating_ = false;
};

// A schedule's five time fields, in ScheduleField order.
using ScheduleFields = std::array<std::string_view, scheduleFieldCount>;

// A schedule compiled: the schedule, or the reason in plain words why its
// fields are malformed ("hour 25 is not in 0-23", "minute: a step of 0",
// "day of week: run.php looks like a command: one time field missing?").
// A reason made from fields without blanks never holds "): ".
struct ScheduleCompilation {
  std::optional<CompiledSchedule> schedule;
  std::string malformation;
};

ScheduleCompilation compileSchedule(const ScheduleFields& fields);

// A piece of the user's text as a reason shows it: quoted when it ends in
// "):", so that a reason never holds "): " (the log's record for a skipped
// line ends its reason with them). Pieces of a line's words hold no blanks.
std::string shownInReason(std::string_view text);

}  // namespace schedule
