#pragma once

#include <string>

#include "schedule/Cron.h"

namespace check {

// When an entry runs, in words: "every 15 minutes", "at 06:30, Monday to
// Friday", "at 00:00 on day 1 of the month", "at every start of plandek".
// Schedules without a shorter phrase get the values of each field listed.
// "never" for a schedule that does not compile.
std::string describeSchedule(const schedule::Cron& entry);

}  // namespace check
