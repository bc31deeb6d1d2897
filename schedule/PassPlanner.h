#pragma once

#include <optional>
#include <vector>

#include "schedule/CompiledSchedule.h"
#include "schedule/ScheduleTime.h"

namespace schedule {

// Which entries a minute is matched with: every entry, the appointments only
// or the repeating entries only (see CompiledSchedule::isRepeating).
enum class EntryKinds { all, appointmentsOnly, repeatingOnly };

// Whether an entry of this schedule is among `kinds`.
bool includes(EntryKinds kinds, const CompiledSchedule& schedule);

struct MinuteToMatch {
  LocalMinute minute;
  EntryKinds entries = EntryKinds::all;

  friend bool operator==(const MinuteToMatch&, const MinuteToMatch&) = default;
};

// Decides, pass by pass, which local minutes to match, so that each entry
// starts at the local time it names however the passes fall: a pass that woke
// a few minutes late catches those minutes up; when the local clock jumps
// forward (summer time begins, the clock is set forward, the machine slept),
// appointments in the jumped span are kept once and repeating entries are not
// piled up; when it goes back (summer time ends, the clock is set back),
// repeating entries go on each minute and appointments already kept are not
// kept again. A change of more than three hours is a new start: nothing is
// caught up.
class PassPlanner {
 public:
  // The minutes the pass at local minute `now` matches, in order; none when
  // the pass before it was in the same minute.
  std::vector<MinuteToMatch> plan(LocalMinute now);

 private:
  // The latest minute matched with every entry; it stays put while the clock
  // is behind it, so that nothing is matched twice on the way back up.
  std::optional<LocalMinute> lastMatched_;
  std::optional<LocalMinute> previousPass_;
};

}  // namespace schedule
