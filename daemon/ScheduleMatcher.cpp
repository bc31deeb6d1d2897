#include "daemon/ScheduleMatcher.h"

#include "daemon/CompiledSchedule.h"

bool isWellFormed(std::string_view schedule) { return compileSchedule(schedule).schedule.has_value(); }

bool matches(std::string_view schedule, double time) { return CompiledSchedule(schedule).isDue(time); }

bool matches(std::string_view schedule, const ScheduleTime& time) { return CompiledSchedule(schedule).isDue(time); }
