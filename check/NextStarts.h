#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/LocalZone.h"
#include "schedule/CompiledSchedule.h"

namespace check {

// The next `count` starts of an entry from `from` on, as plandek's minute rule
// makes them, each "YYYY-MM-DD HH:MM": the local minute of the pass that
// starts it. A time skipped by a clock change shows at the pass that catches
// it up; a repeated time once, unless plandek starts it twice. Looks up to 28
// years ahead, the cycle of dates and weekdays: fewer when those hold fewer.
// Empty for an entry that is never due and for one that runs at start-up.
std::vector<std::string> nextStarts(const schedule::CompiledSchedule& schedule, std::chrono::sys_seconds from,
                                    int count, const LocalZone& zone);

// For an entry kept at fixed times, each time of the coming year that a clock
// change of the zone skips or repeats, with what plandek does then: "02:30
// falls in the gap of 2027-03-28, when clocks go from 02:00 to 03:00: plandek
// starts it at 03:00". Empty when there is none.
std::vector<std::string> summerTimeNotes(const schedule::CompiledSchedule& schedule, std::chrono::sys_seconds from,
                                         const LocalZone& zone);

// The local minute a "YYYY-MM-DD HH:MM" names; none when malformed.
std::optional<schedule::LocalMinute> localMinuteOfText(std::string_view text);

// The instant of a local "YYYY-MM-DD HH:MM"; of a time that comes twice, the
// first. None when the text is malformed or the time does not exist there.
std::optional<std::chrono::sys_seconds> instantOfLocal(std::string_view text, const LocalZone& zone);

}  // namespace check
