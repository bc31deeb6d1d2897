#include "platform/Clock.h"

#include <ctime>
#include <time.h>

namespace platform {

namespace {

LocalTime localTimeAt(std::time_t instant) {
  std::tm fields{};
  if (instant == static_cast<std::time_t>(-1) || ::localtime_r(&instant, &fields) == nullptr) return {};
  return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
          fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

}  // namespace

LocalTime localTimeNow() {
  // No tzset() here: this runs for every log record. localtime_r uses the
  // zone as the last localTimeOf call read it, and the scheduler makes one a
  // minute.
  // Not time(): glibc answers it from the coarse clock, which lags the minute
  // boundary the scheduler has just woken at by up to a tick, so a record
  // written right after 12:01:00 would read 12:00:59.
  timespec now{};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return {};
  return localTimeAt(now.tv_sec);
}

LocalTime localTimeOf(std::chrono::sys_seconds instant) {
  // glibc's localtime_r reads the zone only once per process; tzset reads TZ
  // and /etc/localtime again (a stat when nothing changed), so a zone changed
  // while the daemon runs shows at its next minute.
  ::tzset();
  return localTimeAt(static_cast<std::time_t>(instant.time_since_epoch().count()));
}

double secondsTimer() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace platform
