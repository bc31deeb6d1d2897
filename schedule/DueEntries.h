#pragma once

#include <functional>

#include "lib/util/tqList.h"
#include "schedule/Cron.h"
#include "schedule/PassPlanner.h"

namespace schedule {

// Calls `start` for every entry of `crons` that `minute` matches, in file order.
void forEachDueEntry(const tqList<Cron>& crons, const MinuteToMatch& minute,
                     const std::function<void(const Cron& entry)>& start);

}  // namespace schedule
