#include "daemon/StopRequest.h"

void StopRequest::request() {
  {
    const std::lock_guard lock(stopMutex_);
    stopFlag_ = true;
  }
  stopWoken_.notify_all();
}

bool StopRequest::isRequested() const {
  const std::lock_guard lock(stopMutex_);
  return stopFlag_;
}

void StopRequest::waitForRequest() const {
  std::unique_lock lock(stopMutex_);
  stopWoken_.wait(lock, [this] { return stopFlag_; });
}

bool StopRequest::waitUntil(std::chrono::system_clock::time_point wakeTime) const {
  std::unique_lock lock(stopMutex_);
  return stopWoken_.wait_until(lock, wakeTime, [this] { return stopFlag_; });
}
