#pragma once

#include <chrono>

namespace platform {

// A local date and time to the whole second, as the system's clock and time
// zone give it: month 1-12, day 1-31, hour 0-23, minute 0-59, second 0-59
// (60 only during a leap second, where the system reports one).
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// All fields 0 when the system cannot tell the local time. Cheap enough for
// every log record: on POSIX it uses the zone as the last localTimeOf call
// read it, on Windows the current zone's rules for the present year.
LocalTime localTimeNow();
// The local time at `instant` of the system clock, by the rules of the
// system's time zone for that instant, daylight saving included; all fields 0
// when the system cannot tell it. The zone setting is read again at each call,
// so a zone changed while the process runs (TZ, /etc/localtime, the Windows
// time zone) shows at the next one.
LocalTime localTimeOf(std::chrono::sys_seconds instant);

// Seconds since an arbitrary start, never going back, whatever happens to the
// wall clock; fractions of a second included.
double secondsTimer();

}  // namespace platform
