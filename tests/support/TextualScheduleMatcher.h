#pragma once

// The schedule grammar read a second, independent way: each field expanded
// into its list of candidate values and searched, on the text itself. Tests
// and the schedule fuzz target hold CompiledSchedule to its answers. It shares
// nothing with the compiler but the ScheduleTime it is asked with: not even
// the fields' bounds, so that a wrong bound in the compiler's table shows as
// a disagreement instead of being agreed on.

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "schedule/ScheduleTime.h"

// The reference answers: textual::isWellFormed, textual::matches.
namespace textual {

using schedule::ScheduleTime;

struct FieldRange {
  int first;
  int last;
};
constexpr int fieldCount = 5;
// Minute, hour, day of month, month, day of week; 7 is Sunday, as 0 is.
constexpr FieldRange fieldRanges[fieldCount] = {{0, 59}, {0, 23}, {1, 31}, {1, 12}, {0, 7}};
constexpr int weekdayField = 4;
constexpr int sundayAsSeven = 7;

using Fields = std::array<std::string_view, fieldCount>;

constexpr std::string_view reboot = "@reboot";
constexpr int starLast = 59;
// No field tells numbers this large apart; stopping here keeps long digit runs from overflowing.
constexpr int numberCeiling = 100000;

inline bool readNumber(std::string_view text, int& value) {
  if (text.empty()) return false;
  value = 0;
  for (const char digit : text) {
    if (digit < '0' || digit > '9') return false;
    value = std::min(value * 10 + (digit - '0'), numberCeiling);
  }
  return true;
}

inline bool readInRange(std::string_view text, FieldRange range, int& value) {
  return readNumber(text, value) && value >= range.first && value <= range.last;
}

// A blank left in the last field makes that field malformed.
inline bool splitFields(std::string_view schedule, Fields& fields) {
  for (int index = 0; index < fieldCount - 1; ++index) {
    const std::size_t blank = schedule.find(' ');
    if (blank == std::string_view::npos) return false;
    fields[index] = schedule.substr(0, blank);
    schedule.remove_prefix(blank + 1);
  }
  fields[fieldCount - 1] = schedule;
  return true;
}

// The field's candidates in the order it names them, duplicates kept; false
// when the field is malformed.
inline bool expandField(std::string_view field, FieldRange range, std::vector<int>& candidates) {
  candidates.clear();
  const std::size_t slash = field.find('/');
  const std::string_view base = field.substr(0, slash);
  if (base == "*") {
    for (int value = 0; value <= starLast; ++value) candidates.push_back(value);
  } else {
    std::size_t itemStart = 0;
    for (;;) {
      const std::size_t comma = base.find(',', itemStart);
      const std::string_view item = base.substr(itemStart, comma - itemStart);
      const std::size_t dash = item.find('-');
      int low = 0;
      int high = 0;
      if (dash == std::string_view::npos) {
        if (!readInRange(item, range, low)) return false;
        high = low;
      } else if (!readInRange(item.substr(0, dash), range, low) ||
                 !readInRange(item.substr(dash + 1), range, high) || low > high) {
        return false;
      }
      for (int value = low; value <= high; ++value) candidates.push_back(value);
      if (comma == std::string_view::npos) break;
      itemStart = comma + 1;
    }
  }
  if (slash != std::string_view::npos) {
    int step = 0;
    if (!readNumber(field.substr(slash + 1), step) || step < 1) return false;
    const int first = candidates.front();
    std::erase_if(candidates, [&](int value) { return (value - first) % step != 0; });
  }
  return true;
}

inline bool holds(const std::vector<int>& candidates, int field, int value) {
  const auto has = [&](int wanted) {
    return std::find(candidates.begin(), candidates.end(), wanted) != candidates.end();
  };
  return has(value) || (field == weekdayField && value == 0 && has(sundayAsSeven));
}


inline bool isWellFormed(std::string_view schedule) {
  if (schedule == reboot) return true;
  Fields fields;
  if (!splitFields(schedule, fields)) return false;
  std::vector<int> candidates;
  for (int index = 0; index < fieldCount; ++index) {
    if (!expandField(fields[index], fieldRanges[index], candidates)) return false;
  }
  return true;
}

inline bool matches(std::string_view schedule, const ScheduleTime& time) {
  Fields fields;
  if (schedule == reboot || !splitFields(schedule, fields)) return false;
  const int values[fieldCount] = {time.minute, time.hour, time.day, time.month,
                                          time.weekday};
  std::vector<int> candidates;
  // A malformed field makes the whole schedule never due, so stopping at the
  // first field that fails, for either reason, gives the same answer.
  for (int index = 0; index < fieldCount; ++index) {
    if (!expandField(fields[index], fieldRanges[index], candidates) ||
        !holds(candidates, index, values[index])) {
      return false;
    }
  }
  return true;
}

}  // namespace textual
