#pragma once

#include <string_view>

#include "daemon/ScheduleTime.h"

// The schedule expression matcher on the text itself, for callers that hold
// nothing else; the scheduler matches compiled schedules instead.
//
// A schedule is "@reboot" or five fields separated by single blanks. A field is
//   base ["/" step],  base := "*" | item ("," item)*,  item := number ["-" number]
// with digits only, a step of 1 or more, ranges that do not run backwards and
// every number inside its field's range. "*" stands for 0 to 59 in every field,
// and a step keeps the candidates whose distance from the field's first
// candidate it divides: */15 is 0, 15, 30, 45 and 1,2,3/2 is 1 and 3.

// True for "@reboot" and for five well-formed fields.
bool isWellFormed(std::string_view schedule);

// True when the schedule is due in the minute that holds `time`, a date
// serial. "@reboot" and malformed schedules are never due.
bool matches(std::string_view schedule, double time);
bool matches(std::string_view schedule, const ScheduleTime& time);
