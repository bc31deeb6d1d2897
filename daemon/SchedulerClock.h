#pragma once

#include <chrono>
#include <optional>

#include "schedule/ScheduleTime.h"

namespace plandek {

// The wall clock as the scheduler sees it, so that tests can drive it.
class SchedulerClock {
 public:
  using Instant = std::chrono::sys_seconds;
  enum class SleepEnd { timeReached, checkRequested, stopRequested };

  virtual ~SchedulerClock() = default;

  // The system clock to the whole second.
  virtual Instant now() = 0;
  // The local minute at `instant`, by the time zone the system has now;
  // nothing when the system cannot tell it.
  virtual std::optional<schedule::LocalMinute> localMinute(Instant instant) = 0;
  // Waits until the clock reaches `wakeTime` as it reads at the call: the
  // wait lasts that long in elapsed time, however the clock is set meanwhile,
  // and returns at once when the time has come. A request to check the
  // schedule or to stop ends it early.
  virtual SleepEnd sleepUntil(Instant wakeTime) = 0;
};

}  // namespace plandek
