#pragma once

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "check/LocalZone.h"

namespace check {

// A zone of the test's own: an offset from UTC before the first change, and
// from each change on the offset it names.
class TableZone : public LocalZone {
 public:
  using Change = std::pair<std::chrono::sys_seconds, std::chrono::minutes>;

  TableZone(std::chrono::minutes offset, std::vector<Change> changes) : offset_(offset), changes_(std::move(changes)) {}

  std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds instant) const override {
    std::chrono::minutes offset = offset_;
    for (const Change& change : changes_) {
      if (instant >= change.first) offset = change.second;
    }
    return schedule::LocalMinute(std::chrono::floor<std::chrono::minutes>(instant).time_since_epoch() + offset);
  }

 private:
  std::chrono::minutes offset_;
  std::vector<Change> changes_;
};

// Summer time as the European Union keeps it in 2027, in Berlin: 01:00 UTC
// on 28 March and 31 October.
inline TableZone berlin2027() {
  using namespace std::chrono;
  return TableZone(hours(1), {{sys_days(2027y / March / 28) + hours(1), hours(2)},
                              {sys_days(2027y / October / 31) + hours(1), hours(1)}});
}

// New York in 2027: 07:00 UTC on 14 March, 06:00 UTC on 7 November.
inline TableZone newYork2027() {
  using namespace std::chrono;
  return TableZone(hours(-5), {{sys_days(2027y / March / 14) + hours(7), hours(-4)},
                               {sys_days(2027y / November / 7) + hours(6), hours(-5)}});
}

}  // namespace check
