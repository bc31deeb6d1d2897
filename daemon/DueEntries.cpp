#include "daemon/DueEntries.h"

#include "daemon/ScheduleTime.h"

void forEachDueEntry(const tqList<Cron>& crons, const MinuteToMatch& minute,
                     const std::function<void(const Cron& entry)>& start) {
  const ScheduleTime time = ScheduleTime::of(minute.minute);
  for (std::int64_t at = 0; at < crons.size(); ++at) {
    const CompiledSchedule& schedule = crons.at(at).compiledSchedule();
    if (schedule.isDue(time) && includes(minute.entries, schedule)) start(crons.at(at));
  }
}
