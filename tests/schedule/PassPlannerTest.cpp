#include "schedule/PassPlanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "lib/util/tqList.h"
#include "schedule/Cron.h"
#include "schedule/DueEntries.h"
#include "tests/support/SchedulesFromText.h"

namespace schedule {

namespace {

using namespace std::chrono;

LocalMinute at(year_month_day date, int hour, int minute) {
  return local_days(date) + hours(hour) + minutes(minute);
}

// Every local minute from `first` to `last`, both included.
std::vector<LocalMinute> span(LocalMinute first, LocalMinute last) {
  std::vector<LocalMinute> passes;
  for (LocalMinute minute = first; minute <= last; minute += minutes(1)) passes.push_back(minute);
  return passes;
}

std::vector<LocalMinute> joined(std::initializer_list<std::vector<LocalMinute>> pieces) {
  std::vector<LocalMinute> passes;
  for (const std::vector<LocalMinute>& piece : pieces) passes.insert(passes.end(), piece.begin(), piece.end());
  return passes;
}

std::string clockText(LocalMinute minute) {
  const ScheduleTime time = ScheduleTime::of(minute);
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", time.hour, time.minute);
  return text;
}

// "pass-time schedule", or "pass-time for matched-time schedule" when the
// pass starts an entry for another minute than its own.
std::string start(LocalMinute pass, LocalMinute matched, const std::string& schedule) {
  std::string text = clockText(pass);
  if (matched != pass) text.append(" for ").append(clockText(matched));
  return text.append(" ").append(schedule);
}

// The starts of `schedule` in every pass of `passes`.
std::vector<std::string> everyPass(const std::vector<LocalMinute>& passes, const std::string& schedule) {
  std::vector<std::string> starts;
  for (const LocalMinute pass : passes) starts.push_back(start(pass, pass, schedule));
  return starts;
}

// What the daemon would start, pass by pass, for these entries.
std::vector<std::string> startsOf(const std::vector<std::string>& schedules, const std::vector<LocalMinute>& passes) {
  tqList<Cron> crons;
  for (const std::string& schedule : schedules) crons.add(cronOf(schedule, "job"));
  PassPlanner planner;
  std::vector<std::string> starts;
  for (const LocalMinute pass : passes) {
    for (const MinuteToMatch& minute : planner.plan(pass)) {
      forEachDueEntry(crons, minute, [&](const Cron& entry) {
        starts.push_back(start(pass, minute.minute, entry.schedule()));
      });
    }
  }
  return starts;
}

// Every minute from just before `hour` on `date` to just after it, with
// `hour` passed twice: first in summer time, then in winter time.
std::vector<LocalMinute> passesThroughRepeatedHour(year_month_day date, int hour) {
  return joined({span(at(date, hour - 1, 59), at(date, hour, 59)), span(at(date, hour, 0), at(date, hour + 1, 1))});
}

struct Case {
  const char* what;
  std::vector<std::string> schedules;
  std::vector<LocalMinute> passes;
  std::vector<std::string> starts;
};

constexpr year_month_day day = 2026y / December / 14;
constexpr year_month_day berlinSpring = 2027y / March / 28;   // 02:00 CET is 03:00 CEST
constexpr year_month_day berlinAutumn = 2027y / October / 31;  // 03:00 CEST is 02:00 CET
constexpr year_month_day newYorkSpring = 2027y / March / 14;   // 02:00 EST is 03:00 EDT
constexpr year_month_day newYorkAutumn = 2027y / November / 7; // 02:00 EDT is 01:00 EST

std::vector<Case> cases() {
  const std::vector<LocalMinute> berlinAutumnPasses = passesThroughRepeatedHour(berlinAutumn, 2);
  const std::vector<LocalMinute> newYorkAutumnPasses = passesThroughRepeatedHour(newYorkAutumn, 1);
  return {
      {"every minute in order",
       {"* * * * *", "1 12 * * *"},
       {at(day, 12, 0), at(day, 12, 1), at(day, 12, 2)},
       {"12:00 * * * * *", "12:01 * * * * *", "12:01 1 12 * * *", "12:02 * * * * *"}},
      {"the first pass matches its own minute only",
       {"59 11 * * *", "0 12 * * *"},
       {at(day, 12, 0)},
       {"12:00 0 12 * * *"}},
      {"woke 2 minutes late: the minute missed is matched in full",
       {"* * * * *", "1 12 * * *"},
       {at(day, 12, 0), at(day, 12, 2)},
       {"12:00 * * * * *", "12:02 for 12:01 * * * * *", "12:02 for 12:01 1 12 * * *", "12:02 * * * * *"}},
      {"woke 5 minutes late: still every entry of every minute missed",
       {"*/2 * * * *", "3 12 * * *"},
       {at(day, 12, 0), at(day, 12, 5)},
       {"12:00 */2 * * * *", "12:05 for 12:02 */2 * * * *", "12:05 for 12:03 3 12 * * *",
        "12:05 for 12:04 */2 * * * *"}},
      {"6 minutes on: appointments kept, repeating entries not piled up",
       {"*/2 * * * *", "3 12 * * *", "6 12 * * *"},
       {at(day, 12, 0), at(day, 12, 6)},
       {"12:00 */2 * * * *", "12:06 for 12:03 3 12 * * *", "12:06 */2 * * * *", "12:06 6 12 * * *"}},
      {"late across midnight: the new day's midnight entry runs",
       {"0 0 * * *", "59 23 * * *"},
       {at(day, 23, 58), at(2026y / December / 15, 0, 1)},
       {"00:01 for 23:59 59 23 * * *", "00:01 for 00:00 0 0 * * *"}},
      {"clock set forward 3 hours: each appointment in between once, in order",
       {"0 * * * *", "30 10 * * *", "45 10 * * *", "15 11 * * 1", "30 13 * * *"},
       {at(day, 10, 30), at(day, 13, 30)},
       {"10:30 30 10 * * *", "13:30 for 10:45 45 10 * * *", "13:30 for 11:15 15 11 * * 1", "13:30 30 13 * * *"}},
      {"clock set forward beyond 3 hours: nothing caught up",
       {"45 10 * * *", "31 13 * * *"},
       {at(day, 10, 30), at(day, 13, 31)},
       {"13:31 31 13 * * *"}},
      {"clock set back 2 minutes: repeating entries go on, appointments are not kept twice",
       {"* * * * *", "0 12 * * *", "2 12 * * *"},
       {at(day, 12, 0), at(day, 12, 1), at(day, 11, 59), at(day, 12, 0), at(day, 12, 1), at(day, 12, 2)},
       {"12:00 * * * * *", "12:00 0 12 * * *", "12:01 * * * * *", "11:59 * * * * *", "12:00 * * * * *",
        "12:01 * * * * *", "12:02 * * * * *", "12:02 2 12 * * *"}},
      {"clock set back 3 hours: still a step back",
       {"* * * * *", "0 9 * * *"},
       {at(day, 12, 0), at(day, 9, 0)},
       {"12:00 * * * * *", "09:00 * * * * *"}},
      {"clock set back beyond 3 hours: a new start",
       {"* * * * *", "59 8 * * *", "0 9 * * *"},
       {at(day, 12, 0), at(day, 8, 59), at(day, 9, 0)},
       {"12:00 * * * * *", "08:59 * * * * *", "08:59 59 8 * * *", "09:00 * * * * *", "09:00 0 9 * * *"}},
      {"the same minute twice in a row starts nothing the second time",
       {"* * * * *", "0 12 * * *"},
       {at(day, 12, 0), at(day, 12, 0), at(day, 12, 1), at(day, 12, 1)},
       {"12:00 * * * * *", "12:00 0 12 * * *", "12:01 * * * * *"}},
      {"set back, then forward past where it was: appointments in between kept",
       {"5 12 * * *", "0 11 * * *"},
       {at(day, 12, 0), at(day, 11, 0), at(day, 11, 1), at(day, 12, 10)},
       {"12:10 for 12:05 5 12 * * *"}},
      {"Berlin, summer time begins: 02:30 runs once at 03:00, no burst, no 02:00",
       {"30 2 * * *", "0 3 * * *", "* * * * *", "0 * * * *"},
       {at(berlinSpring, 1, 58), at(berlinSpring, 1, 59), at(berlinSpring, 3, 0), at(berlinSpring, 3, 1)},
       {"01:58 * * * * *", "01:59 * * * * *", "03:00 for 02:30 30 2 * * *", "03:00 0 3 * * *",
        "03:00 * * * * *", "03:00 0 * * * *", "03:01 * * * * *"}},
      {"Berlin, summer time ends: 02:30 once, */30 in hour 2 four times, the hourly at both 02:00",
       {"30 2 * * *", "*/30 2 * * *", "0 * * * *"},
       berlinAutumnPasses,
       {"02:00 */30 2 * * *", "02:00 0 * * * *", "02:30 30 2 * * *", "02:30 */30 2 * * *",
        "02:00 */30 2 * * *", "02:00 0 * * * *", "02:30 */30 2 * * *", "03:00 0 * * * *"}},
      {"Berlin, summer time ends: every minute through both hours", {"* * * * *"}, berlinAutumnPasses,
       everyPass(berlinAutumnPasses, "* * * * *")},
      {"New York, summer time begins: 02:30 runs once at 03:00",
       {"30 2 * * *", "* * * * *", "0 * * * *"},
       {at(newYorkSpring, 1, 59), at(newYorkSpring, 3, 0)},
       {"01:59 * * * * *", "03:00 for 02:30 30 2 * * *", "03:00 * * * * *", "03:00 0 * * * *"}},
      {"New York, summer time ends: 01:30 once, */30 in hour 1 four times, the hourly at both 01:00",
       {"30 1 * * *", "*/30 1 * * *", "0 * * * *"},
       newYorkAutumnPasses,
       {"01:00 */30 1 * * *", "01:00 0 * * * *", "01:30 30 1 * * *", "01:30 */30 1 * * *",
        "01:00 */30 1 * * *", "01:00 0 * * * *", "01:30 */30 1 * * *", "02:00 0 * * * *"}},
      {"New York, summer time ends: every minute through both hours", {"* * * * *"}, newYorkAutumnPasses,
       everyPass(newYorkAutumnPasses, "* * * * *")},
  };
}

}  // namespace

TEST(PassPlanner, StartsEachEntryAtTheLocalTimeItNamesAcrossLateWakeUpsAndClockChanges) {
  for (const Case& row : cases()) {
    EXPECT_EQ(startsOf(row.schedules, row.passes), row.starts) << row.what;
  }
}

TEST(PassPlanner, TellsRepeatingEntriesFromAppointmentsByTheMinuteAndHourFields) {
  const struct {
    const char* schedule;
    bool isRepeating;
  } schedules[] = {
      {"* * * * *", true},    {"*/15 * * * *", true}, {"0 * * * *", true},   {"0 */2 * * *", true},
      {"30 2 * * *", false},  {"0 0 * * *", false},   {"0 9-17 * * *", false}, {"0-59 0-23 * * *", false},
      {"30 2 * * */1", false}, {"@reboot", false},
  };
  for (const auto& row : schedules) {
    EXPECT_EQ(scheduleOf(row.schedule).isRepeating(), row.isRepeating) << row.schedule;
  }
}

TEST(PassPlanner, ALocalMinuteHasTheFieldsOfTheSameDateSerial) {
  // The standard library's calendar against the date serials that the
  // schedules were matched on before: every 7,919 minutes over forty years,
  // leap days and every weekday included.
  using namespace std::chrono;
  for (LocalMinute minute = local_days(2000y / January / 1) + 0min; minute < local_days(2040y / January / 1);
       minute += minutes(7919)) {
    const year_month_day date(floor<days>(minute));
    const hh_mm_ss<minutes> clock(minute - floor<days>(minute));
    const ScheduleTime fromCalendar = ScheduleTime::of(minute);
    const ScheduleTime fromSerial = scheduleTimeOf(tqDateSerial::fromFields(
        static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())), static_cast<int>(unsigned(date.day())),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count())));
    ASSERT_EQ(std::tie(fromCalendar.minute, fromCalendar.hour, fromCalendar.day, fromCalendar.month,
                       fromCalendar.weekday),
              std::tie(fromSerial.minute, fromSerial.hour, fromSerial.day, fromSerial.month, fromSerial.weekday))
        << static_cast<int>(date.year()) << "-" << unsigned(date.month()) << "-" << unsigned(date.day());
  }
}

}  // namespace schedule
