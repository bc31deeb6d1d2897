#include "schedule/DueEntries.h"

#include "schedule/ScheduleTime.h"

namespace schedule {

void forEachDueEntry(const tqList<Cron>& crons, const MinuteToMatch& minute,
                     const std::function<void(const Cron& entry)>& start) {
  const ScheduleTime time = ScheduleTime::of(minute.minute);
  for (const Cron& entry : crons) {
    const CompiledSchedule& schedule = entry.compiledSchedule();
    if (schedule.isDue(time) && includes(minute.entries, schedule)) start(entry);
  }
}

}  // namespace schedule
