#pragma once

#include <functional>

#include "daemon/SchedulerClock.h"
#include "schedule/PassPlanner.h"

namespace plandek {

// The scheduler's timing: a pass at once, whatever the second, then one right
// after second 00 of every following minute of the system clock, sleeping in
// between, until a stop ends a sleep. A pass first calls `checkSchedule`
// (false: a stop came meanwhile, so the loop ends without matching), then
// reads the clock once and calls `startDue` for each local minute the
// PassPlanner names for it. A pass whose work runs past the next minute's
// second 00 is followed at once by the next pass. A pass whose local time
// cannot be read matches nothing. A check requested during a sleep calls
// `checkSchedule` alone, at once, and sleeps on to the same boundary.
void runMinuteLoop(SchedulerClock& clock, const std::function<bool()>& checkSchedule,
                   const std::function<void(const schedule::MinuteToMatch& minute)>& startDue);

}  // namespace plandek
