#pragma once

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/Event.h"

namespace plandek {

// The daemon's stop: once requested it stays so, and every waiter wakes at
// once. Also carries requests to check the schedule between passes, which
// wake the scheduler's wait without stopping anything.
class StopRequest {
 public:
  enum class WaitEnd { timeUp, checkRequested, stopRequested };

  StopRequest();

  // Any thread.
  void request();
  bool isRequested() const;
  void waitForRequest() const;
  // Any thread, any number of times: the next or the current `waitFor` ends
  // at once with `checkRequested`. Requests that come before it is taken
  // count as one.
  void requestCheck();
  // Waits `duration` of elapsed time, or less when a stop or a check is
  // requested; a stop wins over a check. Elapsed time, not a time of the wall
  // clock: a clock set back an hour meanwhile must not stretch the wait by an
  // hour. One waiter at a time.
  WaitEnd waitFor(std::chrono::milliseconds duration);

 private:
  // With `mutex_` held. True when a check was pending; the next wait then
  // waits on a fresh event.
  bool takeCheck();

  platform::Event stopped_;
  std::mutex mutex_;
  bool checkRequested_ = false;
  // Set by a stop or a check. An event stays set, so the one a check has
  // set is replaced once the check is taken; the waiter keeps its own share.
  std::shared_ptr<platform::Event> wake_;
};

}  // namespace plandek
