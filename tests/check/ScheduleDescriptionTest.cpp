#include "check/ScheduleDescription.h"

#include <gtest/gtest.h>

#include "tests/support/SchedulesFromText.h"

namespace check {

namespace {

TEST(ScheduleDescription, SaysWhenAnEntryRunsInWords) {
  const struct {
    const char* schedule;
    const char* description;
  } rows[] = {
      {"* * * * *", "every minute"},
      {"*/15 * * * *", "every 15 minutes"},
      {"0-59/5 * * * *", "every 5 minutes"},
      // 0, 7, ..., 56: not evenly through the hour.
      {"*/7 * * * *", "at minutes 0,7,14,21,28,35,42,49,56 of every hour"},
      {"5 * * * *", "at minute 5 of every hour"},
      {"0,30 * * * *", "every 30 minutes"},
      {"0,20 * * * *", "at minutes 0,20 of every hour"},
      {"30 6 * * 1-5", "at 06:30, Monday to Friday"},
      {"30 6 * * mon-fri", "at 06:30, Monday to Friday"},
      {"0 0 1 * *", "at 00:00 on day 1 of the month"},
      {"0 0 1,15 * *", "at 00:00 on days 1,15 of the month"},
      {"0 0 1-7 * 1", "at 00:00 on days 1-7 of the month, only on Monday"},
      {"0 12 * * 6,0", "at 12:00, on Saturday and Sunday"},
      {"0 12 * * sat-sun", "at 12:00, on Saturday and Sunday"},
      {"0 12 * * 5-7", "at 12:00, Friday to Sunday"},
      {"0 12 * * 7", "at 12:00, on Sunday"},
      {"0 12 * * 1,3,5", "at 12:00, on Monday, Wednesday and Friday"},
      {"0 9 1 1 *", "at 09:00 on day 1 of the month in January"},
      {"0 9 * 1-3 *", "at 09:00 in January to March"},
      {"0 9 * 6,12 *", "at 09:00 in June and December"},
      {"0,30 8 * * *", "at 08:00 and 08:30"},
      {"0 8,12,18 * * *", "at 08:00, 12:00 and 18:00"},
      {"0,20 8-17 * * *", "at minutes 0,20 of hours 8-17"},
      {"0,30 8-17 * * *", "every 30 minutes in hours 8-17"},
      {"* 8-17 * * *", "every minute of hours 8-17"},
      {"*/10 2 * * *", "every 10 minutes in hour 2"},
      {"0 0 30 2 *", "at 00:00 on day 30 of the month in February"},
      {"@reboot", "at every start of plandek"},
  };
  for (const auto& row : rows) EXPECT_EQ(describeSchedule(cronOf(row.schedule, "job")), row.description) << row.schedule;
}

}  // namespace

}  // namespace check
