#include "schedule/ScheduleMatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "schedule/CompiledSchedule.h"
#include "schedule/ScheduleLoader.h"
#include "tests/support/SchedulesFromText.h"
#include "tests/support/TextualScheduleMatcher.h"

namespace schedule {

namespace {

struct MatchCase {
  const char* schedule;
  int year, month, day, hour, minute, second;
  bool due;
};

std::ostream& operator<<(std::ostream& out, const MatchCase& c) {
  return out << "'" << c.schedule << "' at " << c.year << "-" << c.month << "-" << c.day << " "
             << c.hour << ":" << c.minute << ":" << c.second;
}

// 1 to 7 September 2024 run from Sunday to Saturday.
const MatchCase matchCases[] = {
    {"@reboot", 2024, 9, 1, 0, 0, 0, false},
    {"@reboot", 2024, 9, 4, 13, 37, 0, false},
    {"* * * * *", 2024, 9, 4, 13, 37, 0, true},
    {"* * * * *", 2024, 2, 29, 23, 59, 59, true},
    {"*/15 * * * *", 2024, 9, 4, 13, 0, 0, true},
    {"*/15 * * * *", 2024, 9, 4, 13, 45, 59, true},  // seconds play no part
    {"*/15 * * * *", 2024, 9, 4, 13, 14, 0, false},
    {"*/15 * * * *", 2024, 9, 4, 13, 59, 0, false},
    {"0 0 * * 0", 2024, 9, 1, 0, 0, 0, true},
    {"0 0 * * 0", 2024, 9, 2, 0, 0, 0, false},
    {"0 0 * * 0", 2024, 9, 1, 0, 1, 0, false},
    // 7 is Sunday too.
    {"0 0 * * 7", 2024, 9, 1, 0, 0, 0, true},
    {"0 0 * * 7", 2024, 9, 7, 0, 0, 0, false},
    {"* * * * 5-7", 2024, 9, 6, 12, 0, 0, true},
    {"* * * * 5-7", 2024, 9, 1, 12, 0, 0, true},
    {"* * * * 5-7", 2024, 9, 2, 12, 0, 0, false},
    {"* * * * */7", 2024, 9, 1, 12, 0, 0, true},
    {"* * * * */7", 2024, 9, 7, 12, 0, 0, false},
    {"5-20/5 * * * *", 2024, 9, 4, 8, 5, 0, true},
    {"5-20/5 * * * *", 2024, 9, 4, 8, 20, 0, true},
    {"5-20/5 * * * *", 2024, 9, 4, 8, 6, 0, false},
    {"5-20/5 * * * *", 2024, 9, 4, 8, 25, 0, false},
    {"5-59/10 * * * *", 2024, 9, 4, 8, 55, 0, true},
    {"5-59/10 * * * *", 2024, 9, 4, 8, 50, 0, false},
    // A step counts from the first candidate, not from the field's lowest value.
    {"1,2,3/2 * * * *", 2024, 9, 4, 8, 3, 0, true},
    {"1,2,3/2 * * * *", 2024, 9, 4, 8, 2, 0, false},
    {"10/5 * * * *", 2024, 9, 4, 8, 10, 0, true},
    {"10/5 * * * *", 2024, 9, 4, 8, 15, 0, false},
    {"20-25,1-3/2 * * * *", 2024, 9, 4, 8, 2, 0, true},
    {"20-25,1-3/2 * * * *", 2024, 9, 4, 8, 3, 0, false},
    // Items of a list may be ranges.
    {"1-5,10 * * * *", 2024, 9, 4, 8, 5, 0, true},
    {"1-5,10 * * * *", 2024, 9, 4, 8, 10, 0, true},
    {"1-5,10 * * * *", 2024, 9, 4, 8, 6, 0, false},
    {"05 * * * *", 2024, 9, 4, 8, 5, 0, true},
    // "*" is 0 to 59 in every field, so a step runs over the field's own range.
    {"0 */2 * * *", 2024, 9, 4, 22, 0, 0, true},
    {"0 */2 * * *", 2024, 9, 4, 23, 0, 0, false},
    {"* * */2 * *", 2024, 9, 30, 8, 0, 0, true},
    {"* * */2 * *", 2024, 8, 31, 8, 0, 0, false},
    {"* * * */2 *", 2024, 2, 1, 8, 0, 0, true},
    {"* * * */2 *", 2024, 1, 1, 8, 0, 0, false},
    // Day of the month and day of the week must both match.
    {"0 0 1 * 1", 2024, 1, 1, 0, 0, 0, true},
    {"0 0 1 * 1", 2024, 2, 1, 0, 0, 0, false},
    {"0 0 1 * 1", 2024, 1, 8, 0, 0, 0, false},
    {"* * 31 2 *", 2024, 2, 29, 12, 0, 0, false},
    {"* * 29 2 *", 2024, 2, 29, 12, 0, 0, true},
    {"59 23 31 12 6", 2099, 12, 31, 23, 59, 0, false},  // a Thursday
    {"59 23 31 12 4", 2099, 12, 31, 23, 59, 0, true},
    // Malformed schedules are never due, even where a lenient reading would be.
    {"x * * * *", 2024, 9, 4, 8, 0, 0, false},
    {"1,2, * * * *", 2024, 9, 4, 8, 0, 0, false},
    {"1,2, * * * *", 2024, 9, 4, 8, 1, 0, false},
    {"-5 * * * *", 2024, 9, 4, 8, 0, 0, false},
    {"1/0 * * * *", 2024, 9, 4, 8, 1, 0, false},
    {"* * * *", 2024, 9, 4, 8, 0, 0, false},
    {"* * * * * *", 2024, 9, 4, 8, 0, 0, false},
    {"* * * * 8", 2024, 9, 4, 8, 0, 0, false},
};

}  // namespace

TEST(ScheduleMatcher, DecidesEachCaseOfTheTable) {
  for (const MatchCase& c : matchCases) {
    const double time =
        tqDateSerial::fromFields(c.year, c.month, c.day, c.hour, c.minute, c.second).value();
    EXPECT_EQ(matches(c.schedule, time), c.due) << c;
    EXPECT_EQ(textual::matches(c.schedule, scheduleTimeOf(tqDateSerial(time))), c.due) << c << " textual";
  }
}

TEST(ScheduleMatcher, TellsWellFormedSchedulesFromMalformedOnes) {
  const char* wellFormed[] = {
      "@reboot",         "* * * * *",         "0-59 0-23 1-31 1-12 0-7", "1-5,10,20-30/3 * * * *",
      "*/100 * * * *",   "007 * * * *",       "5-5 5 5 5 5",             "59 23 31 12 7",
      "*/1 */1 * * 1-5", "0,0,0 1,1 2 3 4/9",
  };
  const char* malformed[] = {
      "x * * * *",     "1,2, * * * *", "-5 * * * *",    "5- * * * *",    "&H1F * * * *",
      "*,5 * * * *",   "1/0 * * * *",  "2/x * * * *",   "75 * * * *",    "* * * *",
      "",              "@daily",       "@REBOOT",       "@reboot ",      "* * * * * ",
      " * * * * *",    "*  * * * *",   "* * * * * cmd", "60 * * * *",    "* 24 * * *",
      "* * 0 * *",     "* * 32 * *",   "* * * 0 *",     "* * * 13 *",    "* * * * 8",
      "5-1 * * * *",   "*/ * * * *",   "/5 * * * *",    "1-2-3 * * * *", "+5 * * * *",
      "1//2 * * * *",  "*/2/2 * * * *", ",1 * * * *",   "*-5 * * * *",   "5-* * * * *",
      "99999999999999999999 * * * *",  "1\t* * * *",
      // Blanks and tabs that the schedule file allows between fields.
      "*\t* * * *",    "* * * * *\t",  "* * *  * *",
  };
  for (const char* schedule : wellFormed) {
    EXPECT_TRUE(isWellFormed(schedule)) << schedule;
    EXPECT_TRUE(textual::isWellFormed(schedule)) << schedule << " textual";
  }
  for (const char* schedule : malformed) {
    EXPECT_FALSE(isWellFormed(schedule)) << schedule;
    EXPECT_FALSE(textual::isWellFormed(schedule)) << schedule << " textual";
  }
}

TEST(ScheduleMatcher, SaysWhyAScheduleIsMalformed) {
  const struct {
    ScheduleFields fields;
    const char* malformation;
  } cases[] = {
      {{"5", "25", "*", "*", "*"}, "hour 25 is not in 0-23"},
      {{"*", "*", "0", "*", "*"}, "day of month 0 is not in 1-31"},
      {{"99999999999999999999", "*", "*", "*", "*"}, "minute 99999999999999999999 is not in 0-59"},
      {{"*", "*", "*", "*", "8"}, "day of week 8 is not in 0-7"},
      {{"*/0", "*", "*", "*", "*"}, "minute: a step of 0"},
      {{"*", "*", "*", "5-3", "*"}, "month: 5-3 runs backwards"},
      {{"x", "*", "*", "*", "*"}, "minute: x is not a number"},
      {{"*", "mon-fri", "*", "*", "*"}, "hour: mon is not a number"},
      {{"*", "*", "*", "*", "5x"}, "day of week: 5x is not a number or a day name"},
      {{"*", "*", "*", "jul/x", "*"}, "month: x is not a number"},
      {{"*/", "*", "*", "*", "*"}, "minute: an empty step"},
      {{"1,,2", "*", "*", "*", "*"}, "minute: an empty list item"},
      {{"1-", "*", "*", "*", "*"}, "minute: an empty list item"},
      {{"*,5", "*", "*", "*", "*"}, "minute: *,5 is not understood"},
      {{"", "*", "*", "*", "*"}, "minute: an empty list item"},
      // A field holding a blank is no word, and so no command.
      {{"*", "*", "*", "*", "* cmd"}, "day of week: * cmd is not understood"},
  };
  for (const auto& row : cases) {
    const ScheduleCompilation compilation = compileSchedule(row.fields);
    EXPECT_FALSE(compilation.schedule) << row.malformation;
    EXPECT_EQ(compilation.malformation, row.malformation);
    // "): " ends the reason in the log's record for a skipped line.
    EXPECT_EQ(compilation.malformation.find("): "), std::string::npos) << row.malformation;
  }
  EXPECT_EQ(compileSchedule({"0", "0", "*", "*", "*"}).malformation, "");
}

TEST(ScheduleMatcher, TakesFiveFieldsSeparatedByRunsOfBlanksAndTabs) {
  const std::optional<ScheduleFields> fewer = std::nullopt;
  const struct {
    std::string_view text;
    std::optional<ScheduleFields> fields;
    std::string_view rest;
  } cases[] = {
      {"* * * * *", ScheduleFields{"*", "*", "*", "*", "*"}, ""},
      {" \t0\t5  *\t \t* *   \t run it ", ScheduleFields{"0", "5", "*", "*", "*"}, "   \t run it "},
      {"1 2 3 4 5 6 7", ScheduleFields{"1", "2", "3", "4", "5"}, " 6 7"},
      // Other white space is no separator.
      {"1\r2 3\v4 5 6\n 7", ScheduleFields{"1\r2", "3\v4", "5", "6\n", "7"}, ""},
      {"* * * *", fewer, "* * * *"},
      {"* * * * \t", fewer, "* * * * \t"},
      {"", fewer, ""},
  };
  for (const auto& row : cases) {
    std::string_view rest = row.text;
    EXPECT_EQ(takeScheduleFields(rest), row.fields) << row.text;
    EXPECT_EQ(rest, row.rest) << row.text;
  }
}

TEST(ScheduleMatcher, CompilesTheStartUpScheduleAsOneThatRunsAtStartUpAndIsNeverDue) {
  const std::optional<CompiledSchedule> startUp = compileScheduleText("@reboot");
  ASSERT_TRUE(startUp);
  EXPECT_TRUE(startUp->runsAtStartUp());
  EXPECT_FALSE(startUp->isDue(ScheduleTime{}));
  EXPECT_FALSE(CompiledSchedule().runsAtStartUp());
  for (const char* text : {"* * * * *", "0 0 * * *", "0 0 1 1 *"}) {
    const std::optional<CompiledSchedule> timed = compileScheduleText(text);
    ASSERT_TRUE(timed) << text;
    EXPECT_FALSE(timed->runsAtStartUp()) << text;
  }
}

TEST(ScheduleMatcher, NamesDaysAndMonthsAsTheCalendarDoes) {
  using namespace std::chrono;
  const struct {
    const char* name;
    weekday day;
  } dayNames[] = {{"sun", Sunday},   {"MON", Monday}, {"Tue", Tuesday}, {"wED", Wednesday},
              {"thu", Thursday}, {"FRI", Friday}, {"sat", Saturday}};
  const struct {
    const char* name;
    month value;
  } monthNames[] = {{"jan", January}, {"FEB", February}, {"Mar", March},     {"apR", April},
                {"may", May},     {"JUN", June},     {"jul", July},      {"Aug", August},
                {"sep", September}, {"OCT", October}, {"nov", November}, {"Dec", December}};
  // Every day of a leap year, at midnight.
  for (sys_days day = 2024y / January / 1; day < sys_days(2025y / January / 1); day += days(1)) {
    const year_month_day date(day);
    const double time = tqDateSerial::fromFields(2024, static_cast<int>(unsigned(date.month())),
                                                 static_cast<int>(unsigned(date.day())))
                            .value();
    for (const auto& named : dayNames) {
      ASSERT_EQ(matches(std::string("0 0 * * ") + named.name, time), weekday(day) == named.day)
          << named.name << " on " << unsigned(date.month()) << "/" << unsigned(date.day());
    }
    for (const auto& named : monthNames) {
      ASSERT_EQ(matches(std::string("0 0 * ") + named.name + " *", time), date.month() == named.value)
          << named.name << " on " << unsigned(date.month()) << "/" << unsigned(date.day());
    }
  }
}

TEST(ScheduleMatcher, NamesMatchTheSameMinutesAsTheirNumbers) {
  const struct {
    const char* named;
    const char* numeric;
  } twins[] = {
      {"* * * jan,JUL mon-fri", "* * * 1,7 1-5"},
      {"* * * Jul-DEC/2 *", "* * * 7-12/2 *"},
      // A range that ends in the name sun runs to 7, which is Sunday too.
      {"* * * * Sat-Sun/1", "* * * * 6-7/1"},
      {"* * * * MON-sun/2", "* * * * 1-7/2"},
      {"* * * * sun-sun", "* * * * 0"},
      {"* * * * sun-sat/3", "* * * * 0-6/3"},
      {"* * * * fri,sun,2", "* * * * 5,0,2"},
      {"* * * feb/5 wed/3", "* * * 2/5 3/3"},
  };
  for (const auto& twin : twins) {
    ASSERT_TRUE(isWellFormed(twin.named)) << twin.named;
    ASSERT_TRUE(textual::isWellFormed(twin.numeric)) << twin.numeric;
    const CompiledSchedule named = scheduleOf(twin.named);
    // Every day of two years, one of them a leap year, at noon.
    const double first = tqDateSerial::fromFields(2024, 1, 1, 12, 0).value();
    for (double day = first; day < first + 731; ++day) {
      const ScheduleTime time = scheduleTimeOf(tqDateSerial(day));
      ASSERT_EQ(named.isDue(time), textual::matches(twin.numeric, time))
          << twin.named << " / " << twin.numeric << " on day " << day - first;
    }
  }
}

namespace {

// Schedules near the grammar's edges: mostly well-formed, with numbers just
// outside their ranges, odd steps and broken punctuation mixed in.
class ScheduleGenerator {
 public:
  explicit ScheduleGenerator(unsigned seed) : random_(seed) {}

  std::string schedule() {
    switch (below(25)) {
      case 0:
        return "@reboot";
      case 1:
        return fields(scheduleFieldCount - 1);
      case 2:
        return fields(scheduleFieldCount).append(" ").append(field(4));
      case 3:
        return fields(scheduleFieldCount).append(" ");
      default:
        return fields(scheduleFieldCount);
    }
  }

 private:
  std::string fields(int count) {
    std::string text = field(0);
    for (int index = 1; index < count; ++index) text.append(" ").append(field(index));
    return text;
  }

  std::string field(int index) {
    // Half the fields are "*", so that the other fields decide often enough.
    if (below(2) == 0) return "*";
    std::string text = below(4) == 0 ? "*" : items(scheduleFieldRules[index]);
    if (below(3) == 0) {
      text.append("/").append(std::to_string(below(12) == 0 ? below(3) * 35 : 1 + below(20)));
    }
    if (below(15) == 0) corrupt(text);
    return text;
  }

  std::string items(const ScheduleFieldRule& rule) {
    std::string text = item(rule);
    while (below(3) == 0) text.append(",").append(item(rule));
    return text;
  }

  std::string item(const ScheduleFieldRule& rule) {
    const int low = number(rule);
    if (below(3) != 0) return std::to_string(low);
    const int high =
        below(10) == 0 ? number(rule) : low + below(std::max(rule.last - low, 0) + 1);
    return std::to_string(low).append("-").append(std::to_string(high));
  }

  int number(const ScheduleFieldRule& rule) {
    if (below(15) == 0) return below(100);
    return rule.first + below(rule.last - rule.first + 1);
  }

  void corrupt(std::string& text) {
    static constexpr char stray[] = "x*,-/0 @";
    const auto at = static_cast<std::size_t>(below(static_cast<int>(text.size()) + 1));
    if (below(2) == 0 && at < text.size()) {
      text.erase(at, 1);
    } else {
      text.insert(at, 1, stray[below(sizeof stray - 1)]);
    }
  }

  int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

  std::mt19937 random_;
};

}  // namespace

TEST(ScheduleMatcher, CompiledAndTextualFormsAgreeOnGeneratedSchedules) {
  ScheduleGenerator generator(20240229);
  std::vector<std::string> schedules;
  // Malformed schedules compile to nothing, which is never due.
  std::vector<std::optional<CompiledSchedule>> compiled;
  for (int count = 0; count < 3000; ++count) {
    schedules.push_back(generator.schedule());
    compiled.push_back(compileScheduleText(schedules.back()));
  }
  // February of a leap year, a month that starts on a Sunday, a 31-day month
  // and the last month of the date serial sweep.
  const int months[][2] = {{2024, 2}, {2023, 1}, {2025, 8}, {2100, 12}};
  std::mt19937 pick(7);
  std::uniform_int_distribution<std::size_t> anySchedule(0, schedules.size() - 1);
  bool sawDue = false;
  bool sawNotDue = false;
  for (const auto& [year, month] : months) {
    const double first = tqDateSerial::fromFields(year, month, 1).value();
    const double end = tqDateSerial::fromFields(year, month + 1, 1).value();
    for (double day = first; day < end; ++day) {
      for (int minuteOfDay = 0; minuteOfDay < 1440; ++minuteOfDay) {
        const double time = day + minuteOfDay / 1440.0;
        for (int draw = 0; draw < 4; ++draw) {
          const std::size_t index = anySchedule(pick);
          const ScheduleTime fields = scheduleTimeOf(tqDateSerial(time));
          const bool due = textual::matches(schedules[index], fields);
          ASSERT_EQ(compiled[index] && compiled[index]->isDue(fields), due)
              << "'" << schedules[index] << "' at " << year << "-" << month << " day "
              << static_cast<int>(day - first) + 1 << " minute " << minuteOfDay;
          (due ? sawDue : sawNotDue) = true;
        }
      }
    }
  }
  EXPECT_TRUE(sawDue && sawNotDue);
  for (const std::string& schedule : schedules) {
    ASSERT_EQ(isWellFormed(schedule), textual::isWellFormed(schedule)) << "'" << schedule << "'";
  }
  // Both kinds of schedule were generated.
  const auto wellFormedCount = std::count_if(schedules.begin(), schedules.end(),
                                             [](const std::string& s) { return isWellFormed(s); });
  EXPECT_GT(wellFormedCount, 1000);
  EXPECT_LT(wellFormedCount, 2900);
}

}  // namespace schedule
