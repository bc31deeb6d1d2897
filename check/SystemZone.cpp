#include "check/SystemZone.h"

#include "platform/Clock.h"

namespace check {

using namespace std::chrono;

std::optional<schedule::LocalMinute> SystemZone::localMinute(sys_seconds instant) const {
  const platform::LocalTime local = platform::localTimeOf(instant);
  const year_month_day date{year(local.year), month(static_cast<unsigned>(local.month)),
                            day(static_cast<unsigned>(local.day))};
  if (local.year == 0 || !date.ok()) return std::nullopt;
  return local_days(date) + hours(local.hour) + minutes(local.minute);
}

}  // namespace check
