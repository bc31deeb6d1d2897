#pragma once

#include <optional>
#include <string_view>

#include "schedule/CompiledSchedule.h"

namespace schedule {

// Schedule texts asked directly, for callers that hold nothing else; answered
// through CompiledSchedule (see there for the grammar), which the scheduler
// keeps instead of the text.

// The text compiled: "@reboot", or five fields separated by single blanks
// (a tab or a run of blanks, which the schedule file allows, is malformed
// here). None when malformed.
std::optional<CompiledSchedule> compileScheduleText(std::string_view schedule);

// True for "@reboot" and for five well-formed fields.
bool isWellFormed(std::string_view schedule);

// True when the schedule is due in the minute that holds `time`, a date
// serial. "@reboot" and malformed schedules are never due.
bool matches(std::string_view schedule, double time);
bool matches(std::string_view schedule, const ScheduleTime& time);

}  // namespace schedule
