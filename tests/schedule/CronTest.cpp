#include "schedule/Cron.h"

#include <gtest/gtest.h>

#include <string_view>

#include "lib/lang/tqDateSerial.h"
#include "lib/util/tqList.h"
#include "tests/support/SchedulesFromText.h"

namespace schedule {

namespace {

// An entry by its texts alone, with the never-due schedule: the key text does
// not ask whether the schedule is well-formed.
Cron keyedBy(std::string_view schedule, std::string_view command) {
  return Cron(schedule, command, CompiledSchedule());
}

}  // namespace

TEST(Cron, KeyTextIsScheduleEqualsCommand) {
  EXPECT_EQ(cronOf("0 * * * *", "backup.bat").toString(), "0 * * * *=backup.bat");
  EXPECT_EQ(cronOf("@reboot", "").toString(), "@reboot=");
  EXPECT_EQ(Cron().toString(), "=");
  EXPECT_EQ(cronOf("*/5 * * * *", "echo a  b").command(), "echo a  b");
}

TEST(Cron, EntriesAreEqualExactlyWhenTheirKeyTextsAre) {
  EXPECT_EQ(cronOf("0 * * * *", "backup.bat"), cronOf("0 * * * *", "backup.bat"));
  // Both key texts read a=b=c.
  EXPECT_EQ(keyedBy("a=b", "c"), keyedBy("a", "b=c"));
  EXPECT_NE(cronOf("0 * * * *", "backup.bat"), cronOf("0 * * * *", "Backup.bat"));
  EXPECT_NE(cronOf("0 * * * *", "backup.bat"), cronOf("0 * * * *", "backup.bat "));
  EXPECT_NE(Cron(), keyedBy("", " "));
}

TEST(Cron, CopiesKeepTheirTextsAndCompiledSchedule) {
  Cron copy;
  {
    const Cron original = cronOf("0 12 * * *", "report.cmd");
    copy = original;
  }
  EXPECT_EQ(copy.schedule(), "0 12 * * *");
  EXPECT_TRUE(copy.compiledSchedule().isDue(scheduleTimeOf(tqDateSerial::fromFields(2024, 9, 4, 12))));
  EXPECT_FALSE(copy.compiledSchedule().isDue(scheduleTimeOf(tqDateSerial::fromFields(2024, 9, 4, 13))));
  EXPECT_FALSE(Cron().compiledSchedule().isDue(scheduleTimeOf(tqDateSerial::fromFields(2024, 9, 4))));
}

TEST(Cron, ElementRulesUseTheKeyText) {
  using Rules = tqElementRules<Cron>;
  EXPECT_EQ(Rules::name, "Cron");
  EXPECT_EQ(Rules::text(cronOf("@reboot", "start.bat")), "@reboot=start.bat");
  EXPECT_TRUE(Rules::equal(keyedBy("a=b", "c"), keyedBy("a", "b=c")));
  EXPECT_FALSE(Rules::equal(keyedBy("a", "b"), keyedBy("a", "c")));
  EXPECT_EQ(Rules::emptyValue().toString(), "=");
}

TEST(CronList, PrintsKeyTextsAndFindsEntriesByThem) {
  tqList<Cron> crons;
  EXPECT_EQ(crons.toString(), "[]");
  crons.add(cronOf("0 * * * *", "backup.bat"));
  crons.add(cronOf("@reboot", "start.bat"));
  crons.add(cronOf("0 * * * *", "backup.bat"));
  EXPECT_EQ(crons.toString(), "[0 * * * *=backup.bat, @reboot=start.bat, 0 * * * *=backup.bat]");
  EXPECT_EQ(crons.className(), "TQLIST(CRON)");

  // Removing one of two equal entries removes only the first.
  EXPECT_TRUE(crons.remove(cronOf("0 * * * *", "backup.bat")));
  EXPECT_EQ(crons.toString(), "[@reboot=start.bat, 0 * * * *=backup.bat]");
  EXPECT_EQ(crons.indexOf(cronOf("0 * * * *", "backup.bat")), 1);
  EXPECT_EQ(crons.get(7).toString(), "=");
}

}  // namespace schedule
