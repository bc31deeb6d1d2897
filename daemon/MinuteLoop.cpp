#include "daemon/MinuteLoop.h"

#include <algorithm>

namespace plandek {

void runMinuteLoop(SchedulerClock& clock, const std::function<bool()>& checkSchedule,
                   const std::function<void(const schedule::MinuteToMatch& minute)>& startDue) {
  using std::chrono::minutes;
  schedule::PassPlanner planner;
  for (;;) {
    if (!checkSchedule()) return;
    const SchedulerClock::Instant passTime = clock.now();
    if (const std::optional<schedule::LocalMinute> local = clock.localMinute(passTime)) {
      for (const schedule::MinuteToMatch& minute : planner.plan(*local)) startDue(minute);
    }
    // Time zones keep whole minutes, so the system clock's minute boundary is
    // second 00 of the local one. A boundary read before a clock set back
    // during the pass would lie more than a minute ahead: the one read now
    // keeps the wait within a minute.
    const SchedulerClock::Instant wakeTime = std::min(std::chrono::floor<minutes>(passTime) + minutes(1),
                                                      std::chrono::floor<minutes>(clock.now()) + minutes(1));
    // A check between passes goes back to sleep until the same boundary:
    // matching before it would start entries early, or twice.
    SchedulerClock::SleepEnd end = clock.sleepUntil(wakeTime);
    while (end == SchedulerClock::SleepEnd::checkRequested) {
      if (!checkSchedule()) return;
      end = clock.sleepUntil(wakeTime);
    }
    if (end == SchedulerClock::SleepEnd::stopRequested) return;
  }
}

}  // namespace plandek
