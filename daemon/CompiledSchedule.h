#pragma once

#include <cstdint>
#include <string_view>

#include "daemon/ScheduleTime.h"
#include "lib/lang/tqDateSerial.h"

// A schedule compiled once into one bit set per field, so that asking whether
// it is due costs a few shifts and no allocation. It answers as matches() on
// the schedule's text does (see ScheduleMatcher.h for the grammar).
class CompiledSchedule {
 public:
  // Never due.
  CompiledSchedule() = default;
  // "@reboot" and malformed schedules compile to never due.
  explicit CompiledSchedule(std::string_view schedule);

  // The time's values must lie in their fields' ranges.
  bool isDue(const ScheduleTime& time) const {
    return (minutes_ >> (time.minute & 63) & std::uint64_t{hours_} >> (time.hour & 63) &
            std::uint64_t{days_} >> (time.day & 63) & std::uint64_t{months_} >> (time.month & 63) &
            std::uint64_t{weekdays_} >> (time.weekday & 63) & 1) != 0;
  }
  // True when the minute or the hour field begins with "*": an entry that
  // repeats through the day rather than keeping an appointment. Clock changes
  // treat the two kinds differently.
  bool isWildcard() const { return isWildcard_; }
  // `time` is a date serial.
  bool isDue(double time) const { return isDue(ScheduleTime::of(tqDateSerial(time))); }

 private:
  std::uint64_t minutes_ = 0;
  std::uint32_t hours_ = 0;
  std::uint32_t days_ = 0;
  std::uint16_t months_ = 0;
  // Sunday is bit 0; a 7 in the field is folded into it.
  std::uint8_t weekdays_ = 0;
  bool isWildcard_ = false;
};
