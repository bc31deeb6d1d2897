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
