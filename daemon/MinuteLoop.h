#pragma once

#include <functional>

#include "daemon/SchedulerClock.h"
#include "lib/lang/tqDateSerial.h"

// The scheduler's timing: a pass at once, whatever the second, then one right
// after second 00 of every following minute, sleeping in between, until a stop
// ends a sleep. A pass first calls `checkSchedule`, then reads the clock and
// calls `startDue` with the local time, so a long reload does not shift the
// minute being matched. No minute is matched twice. A pass whose work runs
// past the next minute's second 00 is followed at once by the pass for the
// minute it ends in; minutes it spans entirely are not matched.
void runMinuteLoop(SchedulerClock& clock, const std::function<void()>& checkSchedule,
                   const std::function<void(const tqDateSerial& now)>& startDue);
