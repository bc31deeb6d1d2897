#include "schedule/ScheduleMatcher.h"

#include "schedule/ScheduleLoader.h"
#include "lib/lang/tqDateSerial.h"

namespace schedule {

namespace {

// The date serial's weekday runs from 1 for Sunday.
ScheduleTime scheduleTimeOf(const tqDateSerial& time) {
  return {time.minute(), time.hour(), time.day(), time.month(), time.weekday() - 1};
}

}  // namespace

std::optional<CompiledSchedule> compileScheduleText(std::string_view schedule) {
  if (schedule == startUpSchedule) return CompiledSchedule::atStartUp();
  std::string_view rest = schedule;
  const std::optional<ScheduleFields> fields = takeScheduleFields(rest);
  const bool singleBlanks = schedule.find('\t') == std::string_view::npos &&
                            schedule.find("  ") == std::string_view::npos && !schedule.starts_with(' ');
  if (!fields || !rest.empty() || !singleBlanks) return std::nullopt;
  return compileSchedule(*fields).schedule;
}

bool isWellFormed(std::string_view schedule) { return compileScheduleText(schedule).has_value(); }

bool matches(std::string_view schedule, double time) { return matches(schedule, scheduleTimeOf(tqDateSerial(time))); }

bool matches(std::string_view schedule, const ScheduleTime& time) {
  const std::optional<CompiledSchedule> compiled = compileScheduleText(schedule);
  return compiled && compiled->isDue(time);
}

}  // namespace schedule
