#include "daemon/MinuteLoop.h"

#include <optional>

void runMinuteLoop(SchedulerClock& clock, const std::function<void()>& checkSchedule,
                   const std::function<void(const tqDateSerial& now)>& startDue) {
  using std::chrono::minutes;
  std::optional<std::chrono::sys_time<minutes>> matchedMinute;
  for (;;) {
    checkSchedule();
    const SchedulerClock::Instant now = clock.now();
    const auto minute = std::chrono::floor<minutes>(now);
    // The matched minute comes round again only when the clock was set back into it.
    if (minute != matchedMinute) {
      startDue(clock.localTime(now));
      matchedMinute = minute;
    }
    // Time zones keep whole minutes, so the system clock's minute boundary is
    // second 00 of the local one.
    if (!clock.sleepUntil(*matchedMinute + minutes(1))) return;
  }
}
