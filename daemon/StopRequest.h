#pragma once

#include <chrono>

#include "platform/Event.h"

// The daemon's stop: once requested it stays so, and every waiter wakes at once.
class StopRequest {
 public:
  // Any thread.
  void request();
  bool isRequested() const;
  void waitForRequest() const;
  // Waits `duration` of elapsed time, or less when a stop is requested; true
  // when the stop ended the wait. Elapsed time, not a time of the wall clock:
  // a clock set back an hour meanwhile must not stretch the wait by an hour.
  bool waitFor(std::chrono::milliseconds duration) const;

 private:
  platform::Event stopped_;
};
