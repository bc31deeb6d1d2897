#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>

#include "tests/support/TimeZoneVariable.h"

namespace {

using namespace std::chrono_literals;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

// The registration tells how the time zone can be chosen: set in this process
// (POSIX follows TZ as it changes), or fixed when the process started (the
// Windows build under wine, started with TZ and this variable naming it).
bool zoneSettableInProcess() { return std::getenv("PLANDEK_TIME_ZONE_SETTABLE") != nullptr; }
const char* zoneFixedAtStart() { return std::getenv("PLANDEK_TIME_ZONE_AT_START"); }

auto fieldsOf(const platform::LocalTime& time) {
  return std::make_tuple(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

struct DaylightSavingCase {
  const char* zone;
  sys_seconds instant;
  platform::LocalTime expected;
};

// Local times written out by hand: one second before and at each 2027 change
// in both zones, then a year of other rules.
const DaylightSavingCase daylightSavingCases[] = {
    // Berlin: forward at 01:00 UTC, 02:00 CET becomes 03:00 CEST.
    {"Europe/Berlin", sys_days{2027y / 3 / 28} + 0h + 59min + 59s, {2027, 3, 28, 1, 59, 59}},
    {"Europe/Berlin", sys_days{2027y / 3 / 28} + 1h, {2027, 3, 28, 3, 0, 0}},
    // Back at 01:00 UTC, 03:00 CEST becomes 02:00 CET.
    {"Europe/Berlin", sys_days{2027y / 10 / 31} + 0h + 59min + 59s, {2027, 10, 31, 2, 59, 59}},
    {"Europe/Berlin", sys_days{2027y / 10 / 31} + 1h, {2027, 10, 31, 2, 0, 0}},
    // New York: forward at 07:00 UTC, 02:00 EST becomes 03:00 EDT.
    {"America/New_York", sys_days{2027y / 3 / 14} + 6h + 59min + 59s, {2027, 3, 14, 1, 59, 59}},
    {"America/New_York", sys_days{2027y / 3 / 14} + 7h, {2027, 3, 14, 3, 0, 0}},
    // Back at 06:00 UTC, 02:00 EDT becomes 01:00 EST.
    {"America/New_York", sys_days{2027y / 11 / 7} + 5h + 59min + 59s, {2027, 11, 7, 1, 59, 59}},
    {"America/New_York", sys_days{2027y / 11 / 7} + 6h, {2027, 11, 7, 1, 0, 0}},
    // A year of other rules: until 2007 New York went forward on the first
    // Sunday of April, so the second Sunday of March 2006 was still EST.
    {"America/New_York", sys_days{2006y / 3 / 12} + 7h, {2006, 3, 12, 2, 0, 0}},
    {"America/New_York", sys_days{2006y / 4 / 2} + 6h + 59min + 59s, {2006, 4, 2, 1, 59, 59}},
    {"America/New_York", sys_days{2006y / 4 / 2} + 7h, {2006, 4, 2, 3, 0, 0}},
};

}  // namespace

TEST(Clock, LocalTimeNowIsWhatTheCRuntimeCallsLocalTime) {
  // Retried when the second changes between the readings.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::time_t before = std::time(nullptr);
    const platform::LocalTime now = platform::localTimeNow();
    if (std::time(nullptr) != before) continue;
    const std::tm expected = *std::localtime(&before);
    EXPECT_EQ(std::tie(now.year, now.month, now.day, now.hour, now.minute, now.second),
              std::make_tuple(expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday,
                              expected.tm_hour, expected.tm_min, expected.tm_sec));
    return;
  }
  FAIL() << "the second kept changing";
}

TEST(Clock, LocalTimeOfAnInstantIsWhatTheCRuntimeCallsLocalTime) {
  // Winter and summer, a leap day, and a second past the 32-bit range.
  for (const std::time_t instant : {std::time_t{0}, std::time_t{1'709'164'799}, std::time_t{1'719'792'000},
                                    std::time_t{2'147'483'648}, std::time(nullptr)}) {
    const platform::LocalTime local =
        platform::localTimeOf(std::chrono::sys_seconds(std::chrono::seconds(instant)));
    const std::tm expected = *std::localtime(&instant);
    EXPECT_EQ(std::tie(local.year, local.month, local.day, local.hour, local.minute, local.second),
              std::make_tuple(expected.tm_year + 1900, expected.tm_mon + 1, expected.tm_mday,
                              expected.tm_hour, expected.tm_min, expected.tm_sec))
        << instant;
  }
}

TEST(Clock, SecondsTimerCountsSecondsAndNeverGoesBack) {
  // Each timer reading is bracketed by steady-clock readings, so a thread
  // preempted between two readings on a busy machine widens the bounds
  // instead of failing the test.
  using Steady = std::chrono::steady_clock;
  const Steady::time_point beforeStart = Steady::now();
  const double start = platform::secondsTimer();
  const Steady::time_point afterStart = Steady::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const Steady::time_point beforeEnd = Steady::now();
  double previous = platform::secondsTimer();
  const Steady::time_point afterEnd = Steady::now();
  const std::chrono::duration<double> shortest = beforeEnd - afterStart;
  const std::chrono::duration<double> longest = afterEnd - beforeStart;
  // The two clocks may tick at different resolutions.
  constexpr double resolution = 0.002;
  EXPECT_GE(previous - start, shortest.count() - resolution);
  EXPECT_LE(previous - start, longest.count() + resolution);
  for (int reading = 0; reading < 10'000; ++reading) {
    const double now = platform::secondsTimer();
    ASSERT_GE(now, previous);
    previous = now;
  }
}

TEST(Clock, LocalTimeNowNeverLagsTheSystemClock) {
  // A coarse clock would still read the previous second for a few
  // milliseconds after each boundary: run across at least one boundary.
  using std::chrono::system_clock;
  const auto end = system_clock::now() + std::chrono::milliseconds(1100);
  for (auto before = system_clock::now(); before < end; before = system_clock::now()) {
    const platform::LocalTime expected =
        platform::localTimeOf(std::chrono::floor<std::chrono::seconds>(before));
    const platform::LocalTime now = platform::localTimeNow();
    ASSERT_GE(std::tie(now.year, now.month, now.day, now.hour, now.minute, now.second),
              std::tie(expected.year, expected.month, expected.day, expected.hour, expected.minute,
                       expected.second));
  }
}

TEST(Clock, LocalTimeAtDaylightSavingChanges) {
  const char* fixedZone = zoneFixedAtStart();
  if (fixedZone == nullptr && !zoneSettableInProcess()) {
    GTEST_SKIP() << "the time zone cannot be chosen in this process and the registration named none "
                    "(PLANDEK_TIME_ZONE_SETTABLE, PLANDEK_TIME_ZONE_AT_START)";
  }
  int checked = 0;
  for (const DaylightSavingCase& row : daylightSavingCases) {
    if (fixedZone != nullptr && std::string_view(fixedZone) != row.zone) continue;
    SCOPED_TRACE(testing::Message() << "row " << (&row - daylightSavingCases) << ", " << row.zone);
    std::optional<TimeZoneVariable> zone;
    if (fixedZone == nullptr) zone.emplace(row.zone);
    EXPECT_EQ(fieldsOf(platform::localTimeOf(row.instant)), fieldsOf(row.expected));
    ++checked;
  }
  EXPECT_GT(checked, 0) << "no case for the zone " << fixedZone;
}

TEST(Clock, LocalTimeOfFollowsAZoneChangedWhileRunning) {
  if (!zoneSettableInProcess()) {
    GTEST_SKIP() << "the time zone cannot be changed in this process (PLANDEK_TIME_ZONE_SETTABLE not set)";
  }
  const sys_seconds instant = sys_days{2027y / 7 / 1} + 12h;
  {
    const TimeZoneVariable zone("UTC");
    EXPECT_EQ(fieldsOf(platform::localTimeOf(instant)), std::make_tuple(2027, 7, 1, 12, 0, 0));
  }
  {
    const TimeZoneVariable zone("Europe/Berlin");
    EXPECT_EQ(fieldsOf(platform::localTimeOf(instant)), std::make_tuple(2027, 7, 1, 14, 0, 0));
  }
  {
    const TimeZoneVariable zone("America/New_York");
    EXPECT_EQ(fieldsOf(platform::localTimeOf(instant)), std::make_tuple(2027, 7, 1, 8, 0, 0));
  }
}
