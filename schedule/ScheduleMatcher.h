#pragma once

#include <string_view>

#include "schedule/ScheduleTime.h"

namespace schedule {

// Schedule texts asked directly, for callers that hold nothing else; answered
// through CompiledSchedule (see there for the grammar), which the scheduler
// keeps instead of the text.

// True for "@reboot" and for five well-formed fields.
bool isWellFormed(std::string_view schedule);

// True when the schedule is due in the minute that holds `time`, a date
// serial. "@reboot" and malformed schedules are never due.
bool matches(std::string_view schedule, double time);
bool matches(std::string_view schedule, const ScheduleTime& time);

}  // namespace schedule
