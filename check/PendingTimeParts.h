#pragma once

// Stand-ins, until the descriptions, next starts and local zone are merged:
// the declarations of check/LocalZone.h, check/NextStarts.h,
// check/ScheduleDescription.h and CompiledSchedule's isEverDue and
// isDueEveryYear. The merge replaces this file and PendingTimeParts.cpp.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/CompiledSchedule.h"
#include "schedule/Cron.h"

namespace check {

class LocalZone {
 public:
  virtual ~LocalZone();
  virtual std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds instant) const = 0;
};

class SystemZone : public LocalZone {
 public:
  std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds instant) const override;
};

std::string describeSchedule(const schedule::Cron& entry);
std::vector<std::string> nextStarts(const schedule::CompiledSchedule& schedule, std::chrono::sys_seconds from,
                                    int count, const LocalZone& zone);
std::vector<std::string> summerTimeNotes(const schedule::CompiledSchedule& schedule, std::chrono::sys_seconds from,
                                         const LocalZone& zone);
std::optional<std::chrono::sys_seconds> instantOfLocal(std::string_view text, const LocalZone& zone);

// schedule.isEverDue() and schedule.isDueEveryYear(), once they exist.
struct Dueness {
  bool isEverDue = true;
  bool isDueEveryYear = true;
};
Dueness duenessOf(const schedule::CompiledSchedule& schedule);

}  // namespace check
