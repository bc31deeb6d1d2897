#include "schedule/CompiledSchedule.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>

#include "tests/support/SchedulesFromText.h"
#include "tests/support/TextualFields.h"

namespace schedule {

namespace {

using namespace std::chrono;

TEST(CompiledSchedule, TellsFromItsFieldsInWhichYearsItIsDue) {
  using YearsDue = CompiledSchedule::YearsDue;
  const struct {
    const char* schedule;
    YearsDue yearsDue;
  } rows[] = {
      {"* * * * *", YearsDue::every},
      {"0 0 30 2 *", YearsDue::never},
      {"0 0 31 4,6,9,11 *", YearsDue::never},
      {"0 0 30,31 2 *", YearsDue::never},
      {"0 0 29 2 *", YearsDue::leapOnly},
      {"0 0 28,29 2 *", YearsDue::every},
      {"0 0 31 * *", YearsDue::every},
      // Every year has a Friday the 13th; not every January.
      {"0 0 13 * 5", YearsDue::every},
      {"0 0 13 1 5", YearsDue::some},
      // 29 February on a Monday: not even every leap year.
      {"0 0 29 2 1", YearsDue::some},
      // Seven days in a row hold every weekday.
      {"0 0 1-7 * 1", YearsDue::every},
      {"0 0 1-7 2 *", YearsDue::every},
      {"0 0 25 12 0,1,2,3,4,5,6", YearsDue::every},
      {"@reboot", YearsDue::never},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(scheduleOf(row.schedule).yearsDue(), row.yearsDue) << row.schedule;
    EXPECT_EQ(scheduleOf(row.schedule).isEverDue(), row.yearsDue != YearsDue::never) << row.schedule;
  }
  EXPECT_FALSE(CompiledSchedule().isEverDue());
}

TEST(CompiledSchedule, FindsTheFirstDueMinuteAsTheTextualMatcherDoesMinuteByMinute) {
  const char* const minuteFields[] = {"*", "*/15", "0", "59", "0,30", "5-10", "*/7", "1-59/20"};
  const char* const hourFields[] = {"*", "0", "2", "23", "0-4", "*/6", "12,13"};
  const char* const dayFields[] = {"*", "1", "31", "29", "1-15", "28-31", "*/2", "30"};
  const char* const monthFields[] = {"*", "2", "1-6", "*/3", "12", "4,6"};
  const char* const weekdayFields[] = {"*", "1-5", "0", "6,7", "3"};
  std::mt19937 random(20270328);
  const auto pick = [&random](const auto& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, std::size(choices) - 1)(random)];
  };
  for (int round = 0; round < 400; ++round) {
    const std::string text = std::string(pick(minuteFields)) + " " + pick(hourFields) + " " + pick(dayFields) + " " +
                             pick(monthFields) + " " + pick(weekdayFields);
    const CompiledSchedule compiled = scheduleOf(text);
    const LocalMinute from = local_days(2027y / January / 1) + minutes(std::uniform_int_distribution<int>(0, 800'000)(random));
    const LocalMinute until = from + days(std::uniform_int_distribution<int>(0, 400)(random));
    const TextualFields reference(text);
    std::optional<LocalMinute> expected;
    // Day by day through the textual reference, then minute by minute in the days it holds.
    for (local_days day = floor<days>(from); !expected && day < until; day += days(1)) {
      if (!reference.holdsDay(ScheduleTime::of(day))) continue;
      for (LocalMinute minute = std::max<LocalMinute>(day, from); minute < std::min<LocalMinute>(day + days(1), until);
           minute += minutes(1)) {
        if (reference.holdsClock(ScheduleTime::of(minute))) {
          expected = minute;
          break;
        }
      }
    }
    ASSERT_EQ(compiled.firstDueFrom(from, until), expected) << text << " round " << round;
  }
}

}  // namespace

}  // namespace schedule
