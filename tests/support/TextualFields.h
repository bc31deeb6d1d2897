#pragma once

// A schedule's fields expanded once by the textual reference and asked field
// by field: brute-force searches over many minutes can pass over whole days
// without parsing the text again for each minute.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TextualScheduleMatcher.h"

class TextualFields {
 public:
  // Throws on a text the reference does not read: a mistake of the test.
  explicit TextualFields(std::string_view text) {
    textual::Fields fields;
    if (!textual::splitFields(text, fields)) throw std::invalid_argument("not five fields: " + std::string(text));
    for (int index = 0; index < textual::fieldCount; ++index) {
      if (!textual::expandField(fields[index], textual::fieldRanges[index], candidates_[index])) {
        throw std::invalid_argument("a malformed field: " + std::string(text));
      }
    }
  }

  bool holdsDay(const schedule::ScheduleTime& time) const {
    return holds(2, time.day) && holds(3, time.month) && holds(4, time.weekday);
  }
  bool holdsClock(const schedule::ScheduleTime& time) const { return holds(0, time.minute) && holds(1, time.hour); }
  bool matches(const schedule::ScheduleTime& time) const { return holdsDay(time) && holdsClock(time); }

 private:
  bool holds(int field, int value) const { return textual::holds(candidates_[field], field, value); }

  std::vector<int> candidates_[textual::fieldCount];
};
