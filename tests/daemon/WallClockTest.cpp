#include "daemon/WallClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <tuple>

#include "daemon/StopRequest.h"

namespace plandek {

namespace {

using namespace std::chrono_literals;
using SleepEnd = SchedulerClock::SleepEnd;

}  // namespace

TEST(WallClock, AStopEndsASleepAtOnce) {
  StopRequest stop;
  WallClock clock(stop);
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(50ms);
    stop.request();
  });
  // The test would hang for a day if the stop did not wake the sleep.
  EXPECT_EQ(clock.sleepUntil(clock.now() + 24h), SleepEnd::stopRequested);
  stopper.join();
  EXPECT_TRUE(stop.isRequested());
  EXPECT_EQ(clock.sleepUntil(clock.now() - 1s), SleepEnd::stopRequested);
}

TEST(WallClock, ACheckRequestEndsOneSleepAndTheNextSleepsOn) {
  StopRequest stop;
  WallClock clock(stop);
  std::thread requester([&stop] {
    std::this_thread::sleep_for(50ms);
    stop.requestCheck();
  });
  // The test would hang for a day if the request did not wake the sleep.
  EXPECT_EQ(clock.sleepUntil(clock.now() + 24h), SleepEnd::checkRequested);
  requester.join();
  // Requests that came before the sleep, however many, end it at once, and once.
  stop.requestCheck();
  stop.requestCheck();
  EXPECT_EQ(clock.sleepUntil(clock.now() + 24h), SleepEnd::checkRequested);
  EXPECT_EQ(clock.sleepUntil(clock.now() - 1s), SleepEnd::timeReached);
  EXPECT_FALSE(stop.isRequested());
  // A stop wins over a check.
  stop.requestCheck();
  stop.request();
  EXPECT_EQ(clock.sleepUntil(clock.now() + 24h), SleepEnd::stopRequested);
}

TEST(WallClock, ASleepEndsWhenTheClockHasReachedItsTime) {
  StopRequest stop;
  WallClock clock(stop);
  const WallClock::Instant wakeTime = clock.now() + 1s;
  EXPECT_EQ(clock.sleepUntil(wakeTime), SleepEnd::timeReached);
  EXPECT_GE(clock.now(), wakeTime);
  EXPECT_EQ(clock.sleepUntil(wakeTime - 1h), SleepEnd::timeReached);
}

TEST(WallClock, ReadsTheSystemClockAndTheLocalTimeOfTheCRuntime) {
  StopRequest stop;
  WallClock clock(stop);
  const WallClock::Instant now = clock.now();
  const std::time_t seconds = now.time_since_epoch().count();
  // time() may lag a few milliseconds behind the precise clock.
  EXPECT_LE(std::abs(seconds - std::time(nullptr)), 1);
  const std::tm local = *std::localtime(&seconds);
  const std::optional<schedule::LocalMinute> minute = clock.localMinute(now);
  ASSERT_TRUE(minute);
  const schedule::ScheduleTime fields = schedule::ScheduleTime::of(*minute);
  EXPECT_EQ(std::tie(fields.month, fields.day, fields.hour, fields.minute, fields.weekday),
            std::make_tuple(local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_wday));
  EXPECT_EQ(std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(*minute)).year(),
            std::chrono::year(local.tm_year + 1900));
}

TEST(WallClock, ASleepLastsAsLongAsTheClockSaidAtItsStartHoweverTheClockIsSetMeanwhile) {
  // The system clock as the sleep sees it: an hour back from the first reading on.
  const auto start = std::chrono::system_clock::now();
  std::atomic<int> readings = 0;
  const auto setBackAnHour = [&] { return readings++ == 0 ? start : start - 1h; };
  StopRequest stop;
  WallClock clock(stop, setBackAnHour);
  // Were the sleep to wait for the clock to come round again, only the
  // watchdog's stop would end it.
  std::atomic<bool> slept = false;
  std::thread watchdog([&] {
    for (int second = 0; second < 120 && !slept; ++second) std::this_thread::sleep_for(1s);
    stop.request();
  });
  EXPECT_EQ(clock.sleepUntil(std::chrono::ceil<std::chrono::seconds>(start) + 1s), SleepEnd::timeReached);
  slept = true;
  watchdog.join();
}

}  // namespace plandek
