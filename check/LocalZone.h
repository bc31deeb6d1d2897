#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "schedule/ScheduleTime.h"

namespace check {

// The local time of an instant, as plandek's passes read it: the seam that
// lets tests name a zone of their own. The answers of a zone are taken to
// stay the same for its life; the offset changes found are kept, so that a
// long schedule file asks the system for them once. Not for use by two
// threads at a time.
class LocalZone {
 public:
  virtual ~LocalZone() = default;
  // None when the local time cannot be told.
  virtual std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds instant) const = 0;

  // The first whole minute after `after` and not after `until` whose local
  // minute does not follow the one before it: the clock changed then. None
  // when the offset stays put. Found by sampling the zone hourly and
  // halving the last hour: two changes within an hour that cancel are missed.
  std::optional<std::chrono::sys_seconds> nextChange(std::chrono::sys_seconds after,
                                                     std::chrono::sys_seconds until) const;

 private:
  std::optional<std::chrono::minutes> offsetAt(std::chrono::sys_seconds instant) const;
  std::optional<std::chrono::sys_seconds> scanForChange(std::chrono::sys_seconds after,
                                                        std::chrono::sys_seconds until) const;

  // The changes found in [scannedFrom_, scannedUntil_], in order.
  mutable std::vector<std::chrono::sys_seconds> changes_;
  mutable std::chrono::sys_seconds scannedFrom_{};
  mutable std::chrono::sys_seconds scannedUntil_{};
};

}  // namespace check
