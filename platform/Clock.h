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

// All fields 0 when the system cannot tell the local time.
LocalTime localTimeNow();
// The local time at `instant` of the system clock; all fields 0 when the
// system cannot tell it.
LocalTime localTimeOf(std::chrono::sys_seconds instant);

// Seconds since an arbitrary start, never going back, whatever happens to the
// wall clock; fractions of a second included.
double secondsTimer();

}  // namespace platform
