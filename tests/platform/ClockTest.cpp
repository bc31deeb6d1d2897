#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <thread>
#include <tuple>

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
  const double start = platform::secondsTimer();
  const auto steadyStart = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  double previous = platform::secondsTimer();
  const std::chrono::duration<double> steadyElapsed = std::chrono::steady_clock::now() - steadyStart;
  EXPECT_NEAR(previous - start, steadyElapsed.count(), 0.05);
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
