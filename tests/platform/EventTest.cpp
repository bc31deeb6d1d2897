#include "platform/Event.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

TEST(Event, AWaitEndsWhenTheTimeoutRunsOutOrAtOnceWhenSet) {
  platform::Event event;
  EXPECT_FALSE(event.isSet());
  EXPECT_FALSE(event.waitFor(0ms));
  EXPECT_FALSE(event.waitFor(20ms));
  event.set();
  event.set();
  EXPECT_TRUE(event.isSet());
  EXPECT_TRUE(event.waitFor(0ms));
  // Would take a day if the set event were waited on.
  EXPECT_TRUE(event.waitFor(24h));
  event.wait();
}

TEST(Event, SettingWakesEveryWaiter) {
  platform::Event event;
  bool woken[2] = {false, false};
  std::thread first([&] { woken[0] = event.waitFor(24h); });
  std::thread second([&] {
    event.wait();
    woken[1] = true;
  });
  event.set();
  first.join();
  second.join();
  EXPECT_TRUE(woken[0]);
  EXPECT_TRUE(woken[1]);
}
