#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// The daemon's stop: once requested it stays so, and every waiter wakes at once.
// stopFlag is only read or written under stopMutex.
class StopRequest {
 public:
  // Any thread.
  void request();
  bool isRequested() const;
  void waitForRequest() const;
  // Waits until the system clock reaches `wakeTime` or a stop is requested;
  // true when the stop ended the wait. Waiting on the wall clock keeps the
  // wake-up on the minute however the clock is set or sped up meanwhile. Where
  // the thread library turns the time into an interval (mingw), a wait ended
  // early by a clock set back is resumed by the predicate loop; a clock set
  // forward shows only when the interval ends.
  bool waitUntil(std::chrono::system_clock::time_point wakeTime) const;

 private:
  mutable std::mutex stopMutex_;
  mutable std::condition_variable stopWoken_;
  bool stopFlag_ = false;
};
