#include "platform/StopSignal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

class StopCounter {
 public:
  void count() {
    const std::lock_guard lock(mutex_);
    ++count_;
    counted_.notify_all();
  }
  // False when no stop came within a generous time.
  bool awaitOne() {
    std::unique_lock lock(mutex_);
    return counted_.wait_for(lock, std::chrono::seconds(30), [this] { return count_ > 0; });
  }
  int total() {
    const std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable counted_;
  int count_ = 0;
};

}  // namespace

TEST(StopSignal, TurnsAStopRequestIntoACallInsteadOfAnEnd) {
  StopCounter stops;
  const platform::StopSignal signal([&stops] { stops.count(); });
  ASSERT_TRUE(signal.isListening());
  ASSERT_TRUE(platform::requestStopOfThisProcess());
  EXPECT_TRUE(stops.awaitOne());
}

TEST(StopSignal, ListensAgainAfterAnEarlierListenerWent) {
  StopCounter earlier;
  StopCounter later;
  {
    const platform::StopSignal first([&earlier] { earlier.count(); });
  }
  const platform::StopSignal second([&later] { later.count(); });
  ASSERT_TRUE(platform::requestStopOfThisProcess());
  EXPECT_TRUE(later.awaitOne());
  EXPECT_EQ(earlier.total(), 0);
}

TEST(StopSignal, TurnsAReloadRequestIntoACallOfItsOwn) {
  StopCounter stops;
  StopCounter reloads;
  const platform::StopSignal signal([&stops] { stops.count(); }, [&reloads] { reloads.count(); });
  if (!platform::requestReloadOfThisProcess()) GTEST_SKIP() << "the system has no reload request";
  EXPECT_TRUE(reloads.awaitOne());
  EXPECT_EQ(stops.total(), 0);
}

TEST(StopSignal, WithoutAReloadCallAReloadRequestIsTakenAndDoesNothing) {
  StopCounter stops;
  const platform::StopSignal signal([&stops] { stops.count(); });
  if (!platform::requestReloadOfThisProcess()) GTEST_SKIP() << "the system has no reload request";
  // The watcher reads the requests in order: the stop comes after the reload.
  ASSERT_TRUE(platform::requestStopOfThisProcess());
  EXPECT_TRUE(stops.awaitOne());
  EXPECT_EQ(stops.total(), 1);
}

// The process is on its way out after a stop: a second request (a second
// Ctrl-C, a second kill) must not end it half-way, even once the listener
// has gone. Were it ended, this test program would end here.
TEST(StopSignal, OnceAStopCameLaterRequestsAreAbsorbedAfterTheListenerWent) {
  {
    StopCounter stops;
    const platform::StopSignal signal([&stops] { stops.count(); });
    ASSERT_TRUE(platform::requestStopOfThisProcess());
    ASSERT_TRUE(stops.awaitOne());
  }
  for (int request = 0; request < 3; ++request) {
    EXPECT_TRUE(platform::requestStopOfThisProcess());
    platform::requestReloadOfThisProcess();
  }
  // Still here, and a new listener hears the next request.
  StopCounter later;
  const platform::StopSignal signal([&later] { later.count(); });
  ASSERT_TRUE(platform::requestStopOfThisProcess());
  EXPECT_TRUE(later.awaitOne());
}
