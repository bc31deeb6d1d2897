#include "check/NextStarts.h"

#include <algorithm>
#include <cstdio>

#include "schedule/PassPlanner.h"

namespace check {

using namespace std::chrono;
using schedule::CompiledSchedule;
using schedule::LocalMinute;
using schedule::MinuteToMatch;
using schedule::PassPlanner;

namespace {

// The daemon's minute rule looks no further back than this: a pass's plan
// depends on the passes of the last three hours and a minute, no earlier.
constexpr minutes plannerMemory = hours(3) + minutes(5);
// Every date falls on every weekday within 28 years.
constexpr years startHorizon{28};
constexpr days noteHorizon{366};
constexpr days searchStretch{31};

struct Start {
  LocalMinute pass;
  LocalMinute matched;
};

// Calls `visit` with each start of `schedule` by the passes at whole minutes
// from `from` to `until`, in order, while it answers true.
//
// Why this is the daemon's rule and not another: while the zone's offset
// stays put, consecutive passes are one local minute apart, and once a
// pass's plan has been its own minute alone (the steady state), every later
// pass up to the next offset change plans its own minute alone too: such a
// stretch starts exactly the due minutes, found by the schedule's own
// search. Around a change, and at the beginning, the real PassPlanner is run
// pass by pass, primed with the pass before, until it is steady again. The
// first simulation begins at a change up to three hours before `from`, if
// there was one, as the daemon would still remember it.
template <typename Visit>
void forEachStart(const CompiledSchedule& schedule, sys_seconds from, sys_seconds until, const LocalZone& zone,
                  Visit visit) {
  const sys_seconds firstCounted = ceil<minutes>(from);
  sys_seconds pass = zone.nextChange(firstCounted - plannerMemory, firstCounted).value_or(firstCounted);
  PassPlanner planner;
  if (const std::optional<LocalMinute> before = zone.localMinute(pass - minutes(1))) planner.plan(*before);
  std::optional<LocalMinute> steadyLocal;
  sys_seconds changePassedOver = sys_seconds::min();
  while (pass < until) {
    if (steadyLocal) {
      // A stretch at a time: the zone is asked no further ahead than the starts need.
      const sys_seconds stretchEnd = std::min(until, pass + searchStretch);
      // A change at `pass` itself counts, unless it was just passed over below.
      const sys_seconds changesAfter = pass == changePassedOver ? pass : pass - minutes(1);
      const std::optional<sys_seconds> change = zone.nextChange(changesAfter, stretchEnd);
      const sys_seconds end = change.value_or(stretchEnd);
      const sys_seconds searchFrom = std::max(pass, firstCounted);
      if (searchFrom < end) {
        const LocalMinute endLocal = *steadyLocal + duration_cast<minutes>(end - pass);
        LocalMinute at = *steadyLocal + duration_cast<minutes>(searchFrom - pass);
        while (const std::optional<LocalMinute> due = schedule.firstDueFrom(at, endLocal)) {
          if (!visit(Start{*due, *due})) return;
          at = *due + minutes(1);
        }
      }
      if (!change) {
        steadyLocal = *steadyLocal + duration_cast<minutes>(end - pass);
        pass = end;
        continue;
      }
      const std::optional<LocalMinute> before = zone.localMinute(*change - minutes(1));
      const std::optional<LocalMinute> after = zone.localMinute(*change);
      pass = *change;
      steadyLocal.reset();
      // The rule departs from starting each due minute at its own pass only
      // for minutes the change skips or repeats, and the one it lands on:
      // without such a due minute, the stretch after it is searched as well.
      if (before && after &&
          !schedule.firstDueFrom(std::min(*before + minutes(1), *after), std::max(*before, *after) + minutes(1))) {
        steadyLocal = *after;
        changePassedOver = pass;
        continue;
      }
      planner = PassPlanner();
      if (before) planner.plan(*before);
      continue;
    }
    steadyLocal.reset();
    // A pass whose local time cannot be told plans nothing, as in the daemon;
    // nor can anything after it be told here, and stepping on minute by
    // minute through the years would not end in reasonable time.
    const std::optional<LocalMinute> local = zone.localMinute(pass);
    if (!local) return;
    const std::vector<MinuteToMatch> plan = planner.plan(*local);
    for (const MinuteToMatch& minute : plan) {
      if (pass >= firstCounted && schedule::includes(minute.entries, schedule) &&
          schedule.isDue(schedule::ScheduleTime::of(minute.minute)) && !visit(Start{*local, minute.minute})) {
        return;
      }
    }
    if (plan.size() == 1 && plan.front() == MinuteToMatch{*local, schedule::EntryKinds::all}) {
      steadyLocal = *local + minutes(1);
    }
    pass += minutes(1);
  }
}

std::string dateText(LocalMinute minute) {
  const year_month_day date(floor<days>(minute));
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()) % 10000, unsigned(date.month()),
                unsigned(date.day()));
  return text;
}

std::string clockText(LocalMinute minute) {
  const hh_mm_ss<minutes> clock(minute - floor<days>(minute));
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()));
  return text;
}

// The notes of one change at `change`, from local `before` (the minute
// before) to `after`.
void addNotesOfChange(const CompiledSchedule& schedule, sys_seconds change, LocalMinute before, LocalMinute after,
                      const LocalZone& zone, std::vector<std::string>& notes) {
  const bool forward = after > before + minutes(1);
  // The local minutes skipped, or those that come a second time.
  const LocalMinute first = forward ? before + minutes(1) : after;
  const LocalMinute last = forward ? after - minutes(1) : before;
  std::vector<Start> starts;
  bool collected = false;
  LocalMinute at = first;
  while (const std::optional<LocalMinute> due = schedule.firstDueFrom(at, last + minutes(1))) {
    at = *due + minutes(1);
    if (!collected) {
      // What the daemon's passes start from the change until they are past the span.
      forEachStart(schedule, change, change + plannerMemory + (forward ? minutes(0) : before - after), zone, [&](const Start& start) {
        starts.push_back(start);
        return true;
      });
      collected = true;
    }
    // The passes from the change on: in a gap they catch the time up; in a
    // repeated span, the first time round came before them.
    const auto startsOfDue = [&](const Start& start) { return start.matched == *due; };
    const auto startAfterChange = std::find_if(starts.begin(), starts.end(), startsOfDue);
    std::string note = clockText(*due);
    if (forward) {
      note += " falls in the gap of " + dateText(*due) + ", when clocks go from " + clockText(first) + " to " +
              clockText(after) + ": ";
      note += startAfterChange == starts.end() ? "plandek does not start it that day"
                                               : "plandek starts it at " + clockText(startAfterChange->pass);
    } else {
      note += " comes twice on " + dateText(*due) + ", when clocks go back from " + clockText(before + minutes(1)) +
              " to " + clockText(after) + ": ";
      note += startAfterChange == starts.end() ? "plandek starts it once, the first time"
                                               : "plandek starts it both times";
    }
    notes.push_back(std::move(note));
  }
}

bool readNumber(std::string_view text, std::size_t at, std::size_t length, int& value) {
  value = 0;
  for (std::size_t index = at; index < at + length; ++index) {
    if (text[index] < '0' || text[index] > '9') return false;
    value = value * 10 + (text[index] - '0');
  }
  return true;
}

}  // namespace

std::vector<std::string> nextStarts(const CompiledSchedule& schedule, sys_seconds from, int count,
                                    const LocalZone& zone) {
  std::vector<std::string> starts;
  if (count <= 0 || schedule.runsAtStartUp() || !schedule.isEverDue()) return starts;
  forEachStart(schedule, from, from + duration_cast<seconds>(startHorizon), zone, [&](const Start& start) {
    starts.push_back(dateText(start.pass) + " " + clockText(start.pass));
    return static_cast<int>(starts.size()) < count;
  });
  return starts;
}

std::vector<std::string> summerTimeNotes(const CompiledSchedule& schedule, sys_seconds from, const LocalZone& zone) {
  std::vector<std::string> notes;
  if (schedule.isRepeating() || schedule.runsAtStartUp() || !schedule.isEverDue()) return notes;
  const sys_seconds until = from + noteHorizon;
  for (std::optional<sys_seconds> change = zone.nextChange(from, until); change;
       change = zone.nextChange(*change, until)) {
    const std::optional<LocalMinute> before = zone.localMinute(*change - minutes(1));
    const std::optional<LocalMinute> after = zone.localMinute(*change);
    if (before && after) addNotesOfChange(schedule, *change, *before, *after, zone, notes);
  }
  return notes;
}

std::optional<LocalMinute> localMinuteOfText(std::string_view text) {
  int fields[5] = {};
  constexpr struct {
    std::size_t at;
    std::size_t length;
  } places[5] = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}};
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':') {
    return std::nullopt;
  }
  for (int index = 0; index < 5; ++index) {
    if (!readNumber(text, places[index].at, places[index].length, fields[index])) return std::nullopt;
  }
  const year_month_day date{year(fields[0]), month(static_cast<unsigned>(fields[1])),
                            day(static_cast<unsigned>(fields[2]))};
  if (!date.ok() || fields[3] > 23 || fields[4] > 59) return std::nullopt;
  return local_days(date) + hours(fields[3]) + minutes(fields[4]);
}

std::optional<sys_seconds> instantOfLocal(std::string_view text, const LocalZone& zone) {
  const std::optional<LocalMinute> wanted = localMinuteOfText(text);
  if (!wanted) return std::nullopt;
  // Zones lie within a day of UTC: the first instant of that span that shows
  // the wanted minute.
  const sys_seconds guess{wanted->time_since_epoch()};
  for (sys_seconds instant = guess - hours(26); instant <= guess + hours(26); instant += minutes(1)) {
    if (zone.localMinute(instant) == wanted) return instant;
  }
  return std::nullopt;
}

}  // namespace check
