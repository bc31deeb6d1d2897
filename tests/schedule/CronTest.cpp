#include "schedule/Cron.h"

#include <gtest/gtest.h>

#include "lib/lang/tqDateSerial.h"
#include "lib/util/tqList.h"

namespace schedule {

TEST(Cron, KeyTextIsScheduleEqualsCommand) {
  EXPECT_EQ(Cron("0 * * * *", "backup.bat").toString(), "0 * * * *=backup.bat");
  EXPECT_EQ(Cron("@reboot", "").toString(), "@reboot=");
  EXPECT_EQ(Cron().toString(), "=");
  EXPECT_EQ(Cron("*/5 * * * *", "echo a  b").command(), "echo a  b");
}

TEST(Cron, EntriesAreEqualExactlyWhenTheirKeyTextsAre) {
  EXPECT_EQ(Cron("0 * * * *", "backup.bat"), Cron("0 * * * *", "backup.bat"));
  // Both key texts read a=b=c.
  EXPECT_EQ(Cron("a=b", "c"), Cron("a", "b=c"));
  EXPECT_NE(Cron("0 * * * *", "backup.bat"), Cron("0 * * * *", "Backup.bat"));
  EXPECT_NE(Cron("0 * * * *", "backup.bat"), Cron("0 * * * *", "backup.bat "));
  EXPECT_NE(Cron(), Cron("", " "));
}

TEST(Cron, CopiesKeepTheirTextsAndCompiledSchedule) {
  Cron copy;
  {
    const Cron original("0 12 * * *", "report.cmd");
    copy = original;
  }
  EXPECT_EQ(copy.schedule(), "0 12 * * *");
  EXPECT_TRUE(copy.compiledSchedule().isDue(tqDateSerial::fromFields(2024, 9, 4, 12).value()));
  EXPECT_FALSE(copy.compiledSchedule().isDue(tqDateSerial::fromFields(2024, 9, 4, 13).value()));
  EXPECT_FALSE(Cron().compiledSchedule().isDue(tqDateSerial::fromFields(2024, 9, 4).value()));
}

TEST(Cron, ElementRulesUseTheKeyText) {
  using Rules = tqElementRules<Cron>;
  EXPECT_EQ(Rules::name, "Cron");
  EXPECT_EQ(Rules::text(Cron("@reboot", "start.bat")), "@reboot=start.bat");
  EXPECT_TRUE(Rules::equal(Cron("a=b", "c"), Cron("a", "b=c")));
  EXPECT_FALSE(Rules::equal(Cron("a", "b"), Cron("a", "c")));
  EXPECT_EQ(Rules::emptyValue().toString(), "=");
}

TEST(CronList, PrintsKeyTextsAndFindsEntriesByThem) {
  tqList<Cron> crons;
  EXPECT_EQ(crons.toString(), "[]");
  crons.add(Cron("0 * * * *", "backup.bat"));
  crons.add(Cron("@reboot", "start.bat"));
  crons.add(Cron("0 * * * *", "backup.bat"));
  EXPECT_EQ(crons.toString(), "[0 * * * *=backup.bat, @reboot=start.bat, 0 * * * *=backup.bat]");
  EXPECT_EQ(crons.className(), "TQLIST(CRON)");

  // Removing one of two equal entries removes only the first.
  EXPECT_TRUE(crons.remove(Cron("0 * * * *", "backup.bat")));
  EXPECT_EQ(crons.toString(), "[@reboot=start.bat, 0 * * * *=backup.bat]");
  EXPECT_EQ(crons.indexOf(Cron("0 * * * *", "backup.bat")), 1);
  EXPECT_EQ(crons.get(7).toString(), "=");
}

}  // namespace schedule
