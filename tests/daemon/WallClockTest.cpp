#include "daemon/WallClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "daemon/StopRequest.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

TEST(WallClock, AStopEndsASleepAtOnce) {
  StopRequest stop;
  WallClock clock(stop);
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(50ms);
    stop.request();
  });
  // The test would hang for a day if the stop did not wake the sleep.
  EXPECT_FALSE(clock.sleepUntil(clock.now() + 24h));
  stopper.join();
  EXPECT_TRUE(stop.isRequested());
  EXPECT_FALSE(clock.sleepUntil(clock.now() - 1s));
}

TEST(WallClock, ASleepEndsWhenTheClockHasReachedItsTime) {
  StopRequest stop;
  WallClock clock(stop);
  const WallClock::Instant wakeTime = clock.now() + 1s;
  EXPECT_TRUE(clock.sleepUntil(wakeTime));
  EXPECT_GE(clock.now(), wakeTime);
  EXPECT_TRUE(clock.sleepUntil(wakeTime - 1h));
}

TEST(WallClock, ReadsTheSystemClockAndTheLocalTimeOfTheCRuntime) {
  StopRequest stop;
  WallClock clock(stop);
  const WallClock::Instant now = clock.now();
  const std::time_t seconds = now.time_since_epoch().count();
  // time() may lag a few milliseconds behind the precise clock.
  EXPECT_LE(std::abs(seconds - std::time(nullptr)), 1);
  const std::tm local = *std::localtime(&seconds);
  EXPECT_EQ(clock.localTime(now).value(),
            tqDateSerial::fromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                     local.tm_min, local.tm_sec)
                .value());
}
