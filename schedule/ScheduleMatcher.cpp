#include "schedule/ScheduleMatcher.h"

#include "lib/lang/tqDateSerial.h"
#include "schedule/ScheduleLoader.h"

namespace schedule {

namespace {

// Nothing before the first field, and one blank, no tab, after each but the
// last: the spelling entries keep, which the schedule file need not use.
bool hasSingleBlanks(std::string_view schedule, const ScheduleFields& fields) {
  if (fields.front().data() != schedule.data()) return false;
  for (std::size_t index = 0; index + 1 < fields.size(); ++index) {
    const char* const end = fields[index].data() + fields[index].size();
    if (*end != ' ' || end + 1 != fields[index + 1].data()) return false;
  }
  return true;
}

// The date serial's weekday runs from 1 for Sunday.
ScheduleTime scheduleTimeOf(const tqDateSerial& time) {
  return {time.minute(), time.hour(), time.day(), time.month(), time.weekday() - 1};
}

}  // namespace

std::optional<CompiledSchedule> compileScheduleText(std::string_view schedule) {
  if (schedule == startUpSchedule) return CompiledSchedule::atStartUp();
  std::string_view rest = schedule;
  const std::optional<ScheduleFields> fields = takeScheduleFields(rest);
  if (!fields || !rest.empty() || !hasSingleBlanks(schedule, *fields)) return std::nullopt;
  return compileSchedule(*fields).schedule;
}

bool isWellFormed(std::string_view schedule) { return compileScheduleText(schedule).has_value(); }

bool matches(std::string_view schedule, double time) { return matches(schedule, scheduleTimeOf(tqDateSerial(time))); }

bool matches(std::string_view schedule, const ScheduleTime& time) {
  const std::optional<CompiledSchedule> compiled = compileScheduleText(schedule);
  return compiled && compiled->isDue(time);
}

}  // namespace schedule
