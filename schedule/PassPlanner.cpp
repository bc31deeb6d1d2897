#include "schedule/PassPlanner.h"

namespace schedule {

namespace {

using std::chrono::minutes;

// Up to this late, a wake-up is a busy or briefly suspended machine: every
// minute missed is matched in full.
constexpr minutes lateWakeUpLimit{5};
// Beyond this either way, the change is a new time zone or a long sleep.
constexpr minutes clockChangeLimit{180};

// How a pass's minute stands to the passes before it.
enum class Pass { first, sameMinute, lateWakeUp, forwardJump, backwardJump, newStart };

Pass passAt(LocalMinute now, std::optional<LocalMinute> previousPass, std::optional<LocalMinute> lastMatched) {
  if (now == previousPass) return Pass::sameMinute;
  if (!lastMatched) return Pass::first;
  const minutes sinceLast = now - *lastMatched;
  if (sinceLast > minutes(0) && sinceLast <= lateWakeUpLimit) return Pass::lateWakeUp;
  if (sinceLast > lateWakeUpLimit && sinceLast <= clockChangeLimit) return Pass::forwardJump;
  if (sinceLast <= minutes(0) && sinceLast >= -clockChangeLimit) return Pass::backwardJump;
  return Pass::newStart;
}

// The minutes after `last` and before `now`, each with `entries`.
std::vector<MinuteToMatch> minutesBetween(LocalMinute last, LocalMinute now, EntryKinds entries) {
  std::vector<MinuteToMatch> between;
  between.reserve(static_cast<std::size_t>((now - last).count()));
  for (LocalMinute minute = last + minutes(1); minute < now; minute += minutes(1)) {
    between.push_back({minute, entries});
  }
  return between;
}

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
  const Pass pass = passAt(now, previousPass_, lastMatched_);
  previousPass_ = now;
  std::vector<MinuteToMatch> toMatch;
  switch (pass) {
    case Pass::sameMinute:
      // The pass before started everything due in this minute.
      return toMatch;
    case Pass::backwardJump:
      // Appointments up to the latest minute matched were kept already;
      // repeating entries go on each minute. lastMatched_ stays put until the
      // clock is past it again.
      toMatch.push_back({now, EntryKinds::repeatingOnly});
      return toMatch;
    case Pass::lateWakeUp:
      // A busy or briefly suspended machine: the minutes missed count in full.
      toMatch = minutesBetween(*lastMatched_, now, EntryKinds::all);
      break;
    case Pass::forwardJump:
      // Summer time began, the clock was set forward or the machine slept: each
      // appointment jumped over is kept once, repeating entries are not piled up.
      toMatch = minutesBetween(*lastMatched_, now, EntryKinds::appointmentsOnly);
      break;
    case Pass::first:
    case Pass::newStart:
      // Nothing before to catch up: a new time zone or a long sleep is no span
      // of minutes missed.
      break;
  }
  toMatch.push_back({now, EntryKinds::all});
  lastMatched_ = now;
  return toMatch;
}

}  // namespace schedule
