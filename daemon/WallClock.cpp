#include "daemon/WallClock.h"

#include <algorithm>
#include <utility>

#include "platform/Clock.h"

namespace plandek {

WallClock::WallClock(StopRequest& stop, SystemTimeReader readSystemTime)
    : stop_(stop), readSystemTime_(std::move(readSystemTime)) {}

SchedulerClock::Instant WallClock::now() { return std::chrono::floor<std::chrono::seconds>(readSystemTime_()); }

std::optional<schedule::LocalMinute> WallClock::localMinute(Instant instant) {
  using namespace std::chrono;
  const platform::LocalTime local = platform::localTimeOf(instant);
  const year_month_day date{year(local.year), month(static_cast<unsigned>(local.month)),
                            day(static_cast<unsigned>(local.day))};
  if (local.year == 0 || !date.ok()) return std::nullopt;
  return local_days(date) + hours(local.hour) + minutes(local.minute);
}

SchedulerClock::SleepEnd WallClock::sleepUntil(Instant wakeTime) {
  // Rounded up, so that the wake-up is never a moment before the boundary.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(wakeTime - readSystemTime_());
  switch (stop_.waitFor(std::max(left, std::chrono::milliseconds(0)))) {
    case StopRequest::WaitEnd::checkRequested:
      return SleepEnd::checkRequested;
    case StopRequest::WaitEnd::stopRequested:
      return SleepEnd::stopRequested;
    case StopRequest::WaitEnd::timeUp:
      break;
  }
  return SleepEnd::timeReached;
}

}  // namespace plandek
