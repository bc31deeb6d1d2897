#pragma once

#include "daemon/SchedulerClock.h"
#include "daemon/StopRequest.h"

// The system's clock and time zone; a stop request ends every sleep at once.
class WallClock final : public SchedulerClock {
 public:
  explicit WallClock(const StopRequest& stop) : stop_(stop) {}

  Instant now() override;
  // Day 0 when the system cannot tell the local time.
  tqDateSerial localTime(Instant instant) override;
  bool sleepUntil(Instant wakeTime) override;

 private:
  const StopRequest& stop_;
};
