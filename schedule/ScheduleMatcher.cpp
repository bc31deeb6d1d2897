#include "schedule/ScheduleMatcher.h"

#include "schedule/CompiledSchedule.h"

namespace schedule {

bool isWellFormed(std::string_view schedule) { return compileSchedule(schedule).schedule.has_value(); }

bool matches(std::string_view schedule, double time) { return CompiledSchedule(schedule).isDue(time); }

bool matches(std::string_view schedule, const ScheduleTime& time) { return CompiledSchedule(schedule).isDue(time); }

}  // namespace schedule
