#include "check/NextStarts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "check/SystemZone.h"
#include "schedule/PassPlanner.h"
#include "tests/check/TableZone.h"
#include "tests/support/SchedulesFromText.h"
#include "tests/support/TextualFields.h"
#include "tests/support/TimeZoneVariable.h"

namespace check {

namespace {

using namespace std::chrono;
using schedule::LocalMinute;

sys_seconds instantIn(const LocalZone& zone, std::string_view local) {
  const std::optional<sys_seconds> instant = instantOfLocal(local, zone);
  if (!instant) throw std::invalid_argument("no such local time: " + std::string(local));
  return *instant;
}

std::string localText(LocalMinute minute) {
  const year_month_day date(floor<days>(minute));
  const hh_mm_ss<minutes> clock(minute - floor<days>(minute));
  char text[20];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d", static_cast<int>(date.year()), unsigned(date.month()),
                unsigned(date.day()), static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()));
  return text;
}

struct SummerTimeCase {
  const char* zone;
  const char* schedule;
  const char* from;
  int count;
  std::vector<std::string> starts;
};

// The minute rule's own cases (PassPlannerTest), as lists of starts.
const SummerTimeCase summerTimeCases[] = {
    // Summer time begins: 02:30 is caught up at 03:00, repeating entries are not piled up.
    {"Europe/Berlin", "30 2 * * *", "2027-03-27 12:00", 3, {"2027-03-28 03:00", "2027-03-29 02:30", "2027-03-30 02:30"}},
    {"Europe/Berlin", "0 3 * * *", "2027-03-28 00:00", 2, {"2027-03-28 03:00", "2027-03-29 03:00"}},
    {"Europe/Berlin", "* * * * *", "2027-03-28 01:58", 4,
     {"2027-03-28 01:58", "2027-03-28 01:59", "2027-03-28 03:00", "2027-03-28 03:01"}},
    {"Europe/Berlin", "0 * * * *", "2027-03-28 01:30", 2, {"2027-03-28 03:00", "2027-03-28 04:00"}},
    // Two appointments in the gap: both kept, at the same pass.
    {"Europe/Berlin", "0,30 2 28 3 *", "2027-03-28 00:00", 3, {"2027-03-28 03:00", "2027-03-28 03:00", "2028-03-28 02:00"}},
    // Summer time ends: 02:30 once, */30 in hour 2 four times, the hourly at both 02:00.
    {"Europe/Berlin", "30 2 * * *", "2027-10-31 00:00", 2, {"2027-10-31 02:30", "2027-11-01 02:30"}},
    {"Europe/Berlin", "*/30 2 * * *", "2027-10-31 00:00", 5,
     {"2027-10-31 02:00", "2027-10-31 02:30", "2027-10-31 02:00", "2027-10-31 02:30", "2027-11-01 02:00"}},
    {"Europe/Berlin", "0 * * * *", "2027-10-31 01:30", 3, {"2027-10-31 02:00", "2027-10-31 02:00", "2027-10-31 03:00"}},
    {"Europe/Berlin", "45 2 * * *", "2027-10-31 01:00", 2, {"2027-10-31 02:45", "2027-11-01 02:45"}},
    {"America/New_York", "30 2 * * *", "2027-03-13 12:00", 2, {"2027-03-14 03:00", "2027-03-15 02:30"}},
    {"America/New_York", "30 1 * * *", "2027-11-06 12:00", 2, {"2027-11-07 01:30", "2027-11-08 01:30"}},
    {"America/New_York", "*/30 1 * * *", "2027-11-07 00:00", 5,
     {"2027-11-07 01:00", "2027-11-07 01:30", "2027-11-07 01:00", "2027-11-07 01:30", "2027-11-08 01:00"}},
    {"America/New_York", "0 * * * *", "2027-11-07 00:30", 3, {"2027-11-07 01:00", "2027-11-07 01:00", "2027-11-07 02:00"}},
};

TableZone tableZoneNamed(std::string_view name) { return name == "Europe/Berlin" ? berlin2027() : newYork2027(); }

TEST(NextStarts, FollowTheMinuteRuleAcrossSummerTimeChangesInATableZone) {
  for (const SummerTimeCase& row : summerTimeCases) {
    const TableZone zone = tableZoneNamed(row.zone);
    EXPECT_EQ(nextStarts(scheduleOf(row.schedule), instantIn(zone, row.from), row.count, zone), row.starts)
        << row.zone << " " << row.schedule << " from " << row.from;
  }
}

TEST(NextStarts, FollowTheMinuteRuleAcrossSummerTimeChangesInTheSystemZone) {
  if (std::getenv("PLANDEK_TIME_ZONE_SETTABLE") == nullptr) {
    GTEST_SKIP() << "the time zone cannot be changed in this process (PLANDEK_TIME_ZONE_SETTABLE not set)";
  }
  for (const SummerTimeCase& row : summerTimeCases) {
    const TimeZoneVariable variable(row.zone);
    const SystemZone zone;
    // The instant from the table zone: the system's answer is what is tested.
    const sys_seconds from = instantIn(tableZoneNamed(row.zone), row.from);
    EXPECT_EQ(instantOfLocal(row.from, zone), from) << row.zone << " " << row.from;
    EXPECT_EQ(nextStarts(scheduleOf(row.schedule), from, row.count, zone), row.starts)
        << row.zone << " " << row.schedule << " from " << row.from;
  }
}

TEST(NextStarts, NoneForEntriesNeverDueOrRunAtStartUpAndFewerWhenTheCycleHoldsFewer) {
  const TableZone utc(minutes(0), {});
  const sys_seconds from = sys_days(2027y / January / 1);
  const struct {
    const char* schedule;
    int count;
    std::vector<std::string> starts;
  } rows[] = {
      {"0 0 30 2 *", 3, {}},
      {"0 0 31 4,6,9,11 *", 3, {}},
      {"@reboot", 3, {}},
      {"0 0 1 1 *", 0, {}},
      {"0 0 29 2 *", 3, {"2028-02-29 00:00", "2032-02-29 00:00", "2036-02-29 00:00"}},
      // 29 February on a Monday: once in the 28 years looked at.
      {"0 0 29 2 1", 3, {"2044-02-29 00:00"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(nextStarts(scheduleOf(row.schedule), from, row.count, utc), row.starts) << row.schedule;
  }
}

// A zone that cannot tell the local time: plandek would plan nothing, and the
// list ends at once instead of stepping through 28 years minute by minute.
TEST(NextStarts, NoneWhenTheLocalTimeCannotBeTold) {
  class SilentZone : public LocalZone {
   public:
    std::optional<LocalMinute> localMinute(sys_seconds) const override { return std::nullopt; }
  };
  const SilentZone zone;
  EXPECT_TRUE(nextStarts(scheduleOf("* * * * *"), sys_days(2027y / January / 1), 3, zone).empty());
  EXPECT_TRUE(summerTimeNotes(scheduleOf("30 2 * * *"), sys_days(2027y / January / 1), zone).empty());
}

TEST(NextStarts, FromInsideARepeatedHourTheFirstTimeRoundIsRemembered) {
  const TableZone zone = berlin2027();
  // 02:10 in winter time, the second 02:10 of the day: 02:45 was kept the first time round.
  const sys_seconds from = sys_days(2027y / October / 31) + hours(1) + minutes(10);
  EXPECT_EQ(nextStarts(scheduleOf("45 2 * * *"), from, 1, zone), std::vector<std::string>{"2027-11-01 02:45"});
  EXPECT_EQ(nextStarts(scheduleOf("*/30 2 * * *"), from, 2, zone),
            (std::vector<std::string>{"2027-10-31 02:30", "2027-11-01 02:00"}));
}

TEST(NextStarts, AClockChangeBeyondThreeHoursIsANewStart) {
  // Forward 4 hours at 10:30 UTC, back 4 hours at 20:00 UTC.
  const sys_days day = sys_days(2027y / June / 1);
  const TableZone zone(minutes(0), {{day + hours(10) + minutes(30), hours(4)}, {day + hours(20), hours(0)}});
  const sys_seconds from = day + hours(10);
  EXPECT_EQ(nextStarts(scheduleOf("45 10 * * *"), from, 1, zone), std::vector<std::string>{"2027-06-02 10:45"});
  EXPECT_EQ(nextStarts(scheduleOf("30 21 * * *"), from, 3, zone),
            (std::vector<std::string>{"2027-06-01 21:30", "2027-06-01 21:30", "2027-06-02 21:30"}));
}

// The daemon's passes, one a minute from four hours before `from`, each through
// the minute rule, the entry's starts told by the textual reference matcher.
std::vector<std::string> simulatedStarts(std::string_view text, sys_seconds from, sys_seconds until,
                                         const LocalZone& zone) {
  const schedule::CompiledSchedule compiled = scheduleOf(text);
  const TextualFields reference(text);
  schedule::PassPlanner planner;
  std::vector<std::string> starts;
  for (sys_seconds pass = ceil<minutes>(from) - hours(4); pass < until; pass += minutes(1)) {
    const std::optional<LocalMinute> local = zone.localMinute(pass);
    for (const schedule::MinuteToMatch& minute : planner.plan(*local)) {
      if (pass >= from && schedule::includes(minute.entries, compiled) &&
          reference.matches(schedule::ScheduleTime::of(minute.minute))) {
        starts.push_back(localText(*local));
      }
    }
  }
  return starts;
}

TEST(NextStarts, AgreeWithEveryPassSimulatedOnGeneratedSchedulesAndZones) {
  const char* const minuteFields[] = {"*", "*/15", "0", "30", "0,30", "5-10", "*/7", "59", "1-59/20"};
  const char* const hourFields[] = {"*", "2", "1,2,3", "0-4", "*/6", "23", "12", "22-23"};
  const char* const dayFields[] = {"*", "*", "1-15", "28-31", "*/2"};
  const char* const monthFields[] = {"*", "*", "1-6", "*/3"};
  const char* const weekdayFields[] = {"*", "*", "1-5", "0", "6,0"};
  const int jumps[] = {60, -60, 30, -30, 120, -120, 180, -180, 181, -181, 240, -240, 3, -3};
  std::mt19937 random(20271031);
  const auto pick = [&random](const auto& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, std::size(choices) - 1)(random)];
  };
  const auto within = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (int round = 0; round < 100; ++round) {
    const sys_seconds from = sys_days(2027y / January / 10) + minutes(within(0, 2 * 1440)) + seconds(within(0, 59));
    // Changes at least 8 hours apart, the first from 3 hours before `from` to 10 hours after.
    const minutes firstOffset = minutes(15 * within(-48, 56));
    minutes offset = firstOffset;
    std::vector<TableZone::Change> changes;
    const sys_seconds firstChange = ceil<minutes>(from) + minutes(within(-180, 600));
    sys_seconds at = firstChange;
    for (int index = within(1, 4); index > 0; --index) {
      offset += minutes(pick(jumps));
      changes.emplace_back(at, offset);
      at += hours(8) + minutes(within(0, 3 * 1440));
    }
    const TableZone zone(firstOffset, changes);
    // Half of the entries in the local hour before or after the first change,
    // so that fixed times fall in its gap or repeated span.
    std::string hour = pick(hourFields);
    if (within(0, 1) == 0) {
      const LocalMinute local = *zone.localMinute(firstChange - minutes(within(0, 1)));
      hour = std::to_string(schedule::ScheduleTime::of(local).hour);
    }
    const std::string text = std::string(pick(minuteFields)) + " " + hour + " " + pick(dayFields) + " " +
                             pick(monthFields) + " " + pick(weekdayFields);
    const sys_seconds until = from + days(7);
    const std::vector<std::string> simulated = simulatedStarts(text, from, until, zone);
    const int count = std::min<int>(6, static_cast<int>(simulated.size()));
    const std::vector<std::string> expected(simulated.begin(), simulated.begin() + count);
    ASSERT_EQ(nextStarts(scheduleOf(text), from, count, zone), expected) << text << " round " << round;
  }
}

TEST(SummerTimeNotes, TellFixedTimesSkippedOrRepeatedInTheComingYear) {
  const sys_seconds from = sys_days(2027y / January / 1);
  const sys_days day = sys_days(2027y / June / 1);
  // Forward 4 hours at 10:30 UTC, back 4 hours at 20:00 UTC.
  const TableZone bigSteps(minutes(0), {{day + hours(10) + minutes(30), hours(4)}, {day + hours(20), hours(0)}});
  const TableZone berlin = berlin2027();
  const TableZone newYork = newYork2027();
  const struct {
    const char* what;
    const LocalZone& zone;
    const char* schedule;
    std::vector<std::string> notes;
  } rows[] = {
      {"Berlin", berlin, "30 2 * * *",
       {"02:30 falls in the gap of 2027-03-28, when clocks go from 02:00 to 03:00: plandek starts it at 03:00",
        "02:30 comes twice on 2027-10-31, when clocks go back from 03:00 to 02:00: plandek starts it once, the "
        "first time"}},
      // Both changes fall on a Sunday in 2027.
      {"Berlin", berlin, "0 2 * * 0",
       {"02:00 falls in the gap of 2027-03-28, when clocks go from 02:00 to 03:00: plandek starts it at 03:00",
        "02:00 comes twice on 2027-10-31, when clocks go back from 03:00 to 02:00: plandek starts it once, the "
        "first time"}},
      {"Berlin", berlin, "59 2 * 3 *",
       {"02:59 falls in the gap of 2027-03-28, when clocks go from 02:00 to 03:00: plandek starts it at 03:00"}},
      {"Berlin", berlin, "30 2 * * 1-5", {}},
      {"Berlin", berlin, "0 3 * * *", {}},
      {"Berlin, repeating entries go by their own rule", berlin, "*/30 2 * * *", {}},
      {"Berlin", berlin, "@reboot", {}},
      {"New York", newYork, "30 1 * * *",
       {"01:30 comes twice on 2027-11-07, when clocks go back from 02:00 to 01:00: plandek starts it once, the "
        "first time"}},
      {"New York", newYork, "15 2 * * *",
       {"02:15 falls in the gap of 2027-03-14, when clocks go from 02:00 to 03:00: plandek starts it at 03:00"}},
      {"four hours", bigSteps, "0 12 * * *",
       {"12:00 falls in the gap of 2027-06-01, when clocks go from 10:30 to 14:30: plandek does not start it that day"}},
      {"four hours", bigSteps, "0 21 * * *",
       {"21:00 comes twice on 2027-06-01, when clocks go back from 00:00 to 20:00: plandek starts it both times"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(summerTimeNotes(scheduleOf(row.schedule), from, row.zone), row.notes) << row.what << " " << row.schedule;
  }
}

TEST(InstantOfLocal, ReadsALocalMinuteAndTakesTheFirstOfTwo) {
  const TableZone zone = berlin2027();
  const struct {
    const char* text;
    std::optional<sys_seconds> instant;
  } rows[] = {
      {"2027-01-15 12:00", sys_days(2027y / January / 15) + hours(11)},
      {"2027-07-15 12:34", sys_days(2027y / July / 15) + hours(10) + minutes(34)},
      // In the gap.
      {"2027-03-28 02:30", std::nullopt},
      // Twice: the summer-time one.
      {"2027-10-31 02:30", sys_days(2027y / October / 31) + minutes(30)},
      {"2027-02-29 12:00", std::nullopt},
      {"2027-01-15 24:00", std::nullopt},
      {"2027-01-15 12:60", std::nullopt},
      {"2027-1-15 12:00", std::nullopt},
      {"2027-01-15T12:00", std::nullopt},
      {"2027-01-15 12:00 ", std::nullopt},
      {"2027-01-15 1a:00", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(instantOfLocal(row.text, zone), row.instant) << row.text;
}

}  // namespace

}  // namespace check
