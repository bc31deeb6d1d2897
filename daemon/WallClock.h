#pragma once

#include <chrono>
#include <functional>

#include "daemon/SchedulerClock.h"
#include "daemon/StopRequest.h"

namespace plandek {

// The system's clock and time zone; a stop or a check requested through the
// StopRequest ends a sleep at once.
class WallClock final : public SchedulerClock {
 public:
  using SystemTimeReader = std::function<std::chrono::system_clock::time_point()>;

  // `readSystemTime` lets tests set the clock under a sleep.
  explicit WallClock(StopRequest& stop, SystemTimeReader readSystemTime = &std::chrono::system_clock::now);

  Instant now() override;
  std::optional<schedule::LocalMinute> localMinute(Instant instant) override;
  SleepEnd sleepUntil(Instant wakeTime) override;

 private:
  StopRequest& stop_;
  SystemTimeReader readSystemTime_;
};

}  // namespace plandek
