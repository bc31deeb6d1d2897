#include "lib/lang/tqDateSerial.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

using namespace std::chrono;

namespace {

using Fields = std::tuple<int, int, int, int, int, int, int>;

Fields fieldsOf(const tqDateSerial& time) {
  return {time.year(),   time.month(),  time.day(),    time.hour(),
          time.minute(), time.second(), time.weekday()};
}

// What the standard library's civil calendar says about `day` at a time of day.
Fields expectedFields(sys_days day, int secondOfDay) {
  const year_month_day date{day};
  return {static_cast<int>(date.year()),
          static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          secondOfDay / 3600,
          secondOfDay / 60 % 60,
          secondOfDay % 60,
          static_cast<int>(weekday{day}.c_encoding()) + 1};
}

// GCC 12's <chrono> cannot print dates yet.
std::string textOf(sys_days day) {
  const year_month_day date{day};
  return std::to_string(static_cast<int>(date.year())) + "-" +
         std::to_string(static_cast<unsigned>(date.month())) + "-" +
         std::to_string(static_cast<unsigned>(date.day()));
}

constexpr sys_days dayZero = sys_days{1899y / December / 30};

}  // namespace

TEST(tqDateSerial, AgreesWithTheCivilCalendarOnEveryDayFrom1900To2100) {
  const int secondsOfDay[] = {0, 1, 59, 60, 43200, 86340, 86399};
  for (sys_days day = 1900y / January / 1; day <= sys_days{2100y / December / 31}; day += days{1}) {
    const year_month_day date{day};
    const double serialDay = static_cast<double>((day - dayZero).count());
    const tqDateSerial built =
        tqDateSerial::fromFields(static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                                 static_cast<unsigned>(date.day()));
    ASSERT_EQ(built.value(), serialDay) << textOf(day);
    for (const int second : secondsOfDay) {
      const double serial = serialDay + second / 86400.0;
      ASSERT_EQ(fieldsOf(tqDateSerial(serial)), expectedFields(day, second))
          << textOf(day) << " +" << second;
    }
  }
}

TEST(tqDateSerial, ReadsEveryMinuteBoundaryAsItsOwnMinute) {
  // Serials summed from day, hour and minute fractions land a hair below the
  // boundary as often as above it; neither may read as 59 seconds before.
  for (sys_days day = 1900y / January / 1; day <= sys_days{2100y / December / 31};
       day += days{367}) {
    const double serialDay = static_cast<double>((day - dayZero).count());
    for (int minuteOfDay = 0; minuteOfDay < 1440; ++minuteOfDay) {
      const int hour = minuteOfDay / 60;
      const int minute = minuteOfDay % 60;
      const double summed = serialDay + hour / 24.0 + minute / 1440.0;
      const double scaled = (serialDay * 1440 + minuteOfDay) / 1440;
      for (const double serial :
           {summed, scaled, std::nextafter(summed, 0.0), std::nextafter(summed, 1e9)}) {
        ASSERT_EQ(fieldsOf(tqDateSerial(serial)), expectedFields(day, minuteOfDay * 60))
            << textOf(day) << " " << hour << ":" << minute;
      }
    }
  }
}

TEST(tqDateSerial, MidnightBelongsToTheNextDay) {
  const double lastSecond = 45351 + 86399 / 86400.0;  // 2024-02-29 23:59:59
  EXPECT_EQ(fieldsOf(tqDateSerial(lastSecond)), Fields(2024, 2, 29, 23, 59, 59, 5));
  EXPECT_EQ(fieldsOf(tqDateSerial(std::nextafter(45352.0, 0.0))), Fields(2024, 3, 1, 0, 0, 0, 6));
  EXPECT_EQ(fieldsOf(tqDateSerial(45352.0)), Fields(2024, 3, 1, 0, 0, 0, 6));
}

TEST(tqDateSerial, FieldsBeyondTheirRangesCarryOver) {
  EXPECT_EQ(fieldsOf(tqDateSerial::fromFields(2023, 13, 1)),
            fieldsOf(tqDateSerial::fromFields(2024, 1, 1)));
  EXPECT_EQ(fieldsOf(tqDateSerial::fromFields(2024, 0, 1)),
            fieldsOf(tqDateSerial::fromFields(2023, 12, 1)));
  EXPECT_EQ(fieldsOf(tqDateSerial::fromFields(2023, 2, 29)),
            fieldsOf(tqDateSerial::fromFields(2023, 3, 1)));
  EXPECT_EQ(fieldsOf(tqDateSerial::fromFields(2024, 3, 0)),
            fieldsOf(tqDateSerial::fromFields(2024, 2, 29)));
  EXPECT_EQ(fieldsOf(tqDateSerial::fromFields(2024, 12, 31, 23, 59, 60)),
            fieldsOf(tqDateSerial::fromFields(2025, 1, 1)));
  // Before day 0 the fraction still counts forward from the day's midnight.
  EXPECT_EQ(tqDateSerial::fromFields(1899, 12, 29, 6).value(), -0.75);
  EXPECT_EQ(fieldsOf(tqDateSerial(-0.75)), Fields(1899, 12, 29, 6, 0, 0, 6));
}

TEST(tqDateSerial, UnreadableSerialsReadAsDayZero) {
  const Fields dayZeroFields(1899, 12, 30, 0, 0, 0, 7);
  EXPECT_EQ(fieldsOf(tqDateSerial()), dayZeroFields);
  EXPECT_EQ(tqDateSerial().value(), 0.0);
  for (const double serial : {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), 1e300, -1e300, 2958466.0}) {
    EXPECT_EQ(fieldsOf(tqDateSerial(serial)), dayZeroFields) << serial;
  }
  EXPECT_EQ(fieldsOf(tqDateSerial(2958465.5)), Fields(9999, 12, 31, 12, 0, 0, 6));
}
