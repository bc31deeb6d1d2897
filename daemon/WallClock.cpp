#include "daemon/WallClock.h"

#include "platform/Clock.h"

SchedulerClock::Instant WallClock::now() {
  return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

tqDateSerial WallClock::localTime(Instant instant) {
  const platform::LocalTime local = platform::localTimeOf(instant);
  if (local.year == 0) return tqDateSerial();
  return tqDateSerial::fromFields(local.year, local.month, local.day, local.hour, local.minute, local.second);
}

bool WallClock::sleepUntil(Instant wakeTime) { return !stop_.waitUntil(wakeTime); }
