#pragma once

#include <chrono>
#include <functional>

#include "daemon/SchedulerClock.h"
#include "daemon/StopRequest.h"

// The system's clock and time zone; a stop request ends every sleep at once.
class WallClock final : public SchedulerClock {
 public:
  using SystemTimeReader = std::function<std::chrono::system_clock::time_point()>;

  // `readSystemTime` lets tests set the clock under a sleep.
  explicit WallClock(const StopRequest& stop, SystemTimeReader readSystemTime = &std::chrono::system_clock::now);

  Instant now() override;
  std::optional<LocalMinute> localMinute(Instant instant) override;
  bool sleepUntil(Instant wakeTime) override;

 private:
  const StopRequest& stop_;
  SystemTimeReader readSystemTime_;
};
