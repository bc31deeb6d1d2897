#pragma once

#include <functional>

#include "daemon/Cron.h"
#include "daemon/PassPlanner.h"
#include "lib/util/tqList.h"

// Calls `start` for every entry of `crons` that `minute` matches, in file order.
void forEachDueEntry(const tqList<Cron>& crons, const MinuteToMatch& minute,
                     const std::function<void(const Cron& entry)>& start);
