#pragma once

#include <chrono>

#include "lib/lang/tqDateSerial.h"

// The wall clock as the scheduler sees it, so that tests can drive it.
class SchedulerClock {
 public:
  using Instant = std::chrono::sys_seconds;

  virtual ~SchedulerClock() = default;

  // The system clock to the whole second.
  virtual Instant now() = 0;
  // The local date and time at `instant`.
  virtual tqDateSerial localTime(Instant instant) = 0;
  // Returns once the clock has reached `wakeTime`, at once when it already has;
  // false when a stop request ended the sleep instead.
  virtual bool sleepUntil(Instant wakeTime) = 0;
};
