#include "schedule/PassPlanner.h"

namespace schedule {

namespace {

using std::chrono::minutes;

// Up to this late, a wake-up is a busy or briefly suspended machine: every
// minute missed is matched in full.
constexpr minutes lateWakeUpLimit{5};
// Beyond this either way, the change is a new time zone or a long sleep.
constexpr minutes clockChangeLimit{180};

}  // namespace

bool includes(EntryKinds kinds, const CompiledSchedule& schedule) {
  switch (kinds) {
    case EntryKinds::appointmentsOnly:
      return !schedule.isRepeating();
    case EntryKinds::repeatingOnly:
      return schedule.isRepeating();
    case EntryKinds::all:
      break;
  }
  return true;
}

std::vector<MinuteToMatch> PassPlanner::plan(LocalMinute now) {
  if (now == previousPass_) return {};
  previousPass_ = now;
  if (!lastMatched_) {
    lastMatched_ = now;
    return {{now, EntryKinds::all}};
  }
  const minutes sinceLast = now - *lastMatched_;
  std::vector<MinuteToMatch> toMatch;
  if (sinceLast > minutes(0) && sinceLast <= lateWakeUpLimit) {
    for (LocalMinute minute = *lastMatched_ + minutes(1); minute <= now; minute += minutes(1)) {
      toMatch.push_back({minute, EntryKinds::all});
    }
  } else if (sinceLast > lateWakeUpLimit && sinceLast <= clockChangeLimit) {
    toMatch.reserve(static_cast<std::size_t>(sinceLast.count()));
    for (LocalMinute minute = *lastMatched_ + minutes(1); minute < now; minute += minutes(1)) {
      toMatch.push_back({minute, EntryKinds::appointmentsOnly});
    }
    toMatch.push_back({now, EntryKinds::all});
  } else if (sinceLast <= minutes(0) && sinceLast >= -clockChangeLimit) {
    return {{now, EntryKinds::repeatingOnly}};
  } else {
    toMatch.push_back({now, EntryKinds::all});
  }
  lastMatched_ = now;
  return toMatch;
}

}  // namespace schedule
