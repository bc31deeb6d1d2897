#include "check/LocalZone.h"

#include <algorithm>

namespace check {

using namespace std::chrono;

namespace {

constexpr minutes samplingStep = hours(1);

}  // namespace

std::optional<minutes> LocalZone::offsetAt(sys_seconds instant) const {
  const std::optional<schedule::LocalMinute> local = localMinute(instant);
  if (!local) return std::nullopt;
  return local->time_since_epoch() - floor<minutes>(instant).time_since_epoch();
}

std::optional<sys_seconds> LocalZone::scanForChange(sys_seconds after, sys_seconds until) const {
  sys_seconds known = floor<minutes>(after);
  const std::optional<minutes> offset = offsetAt(known);
  while (known < until) {
    const sys_seconds sample = std::min<sys_seconds>(known + samplingStep, until);
    if (offsetAt(sample) != offset) {
      // The offset at `known` holds, at `sample` it does not: halve down to the minute.
      sys_seconds changed = sample;
      while (changed - known > minutes(1)) {
        const sys_seconds middle = known + floor<minutes>((changed - known) / 2);
        (offsetAt(middle) == offset ? known : changed) = middle;
      }
      return changed;
    }
    known = sample;
  }
  return std::nullopt;
}

std::optional<sys_seconds> LocalZone::nextChange(sys_seconds after, sys_seconds until) const {
  after = floor<minutes>(after);
  until = floor<minutes>(until);
  if (after < scannedFrom_ || after > scannedUntil_) {
    // A day's margin before: the rule's look back from the same `from` stays inside.
    changes_.clear();
    scannedFrom_ = scannedUntil_ = after - days(1);
  }
  const auto known = std::upper_bound(changes_.begin(), changes_.end(), after);
  if (known != changes_.end()) return *known <= until ? std::optional<sys_seconds>(*known) : std::nullopt;
  // Nothing known after `after`: scan on from where the last scan stopped.
  while (scannedUntil_ < until) {
    const std::optional<sys_seconds> change = scanForChange(scannedUntil_, until);
    if (!change) {
      scannedUntil_ = until;
      break;
    }
    changes_.push_back(*change);
    scannedUntil_ = *change;
    if (*change > after) return change;
  }
  return std::nullopt;
}

}  // namespace check
