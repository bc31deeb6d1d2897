#include "daemon/StopRequest.h"

namespace plandek {

StopRequest::StopRequest() : wake_(std::make_shared<platform::Event>()) {}

void StopRequest::request() {
  stopped_.set();
  const std::lock_guard lock(mutex_);
  wake_->set();
}

bool StopRequest::isRequested() const { return stopped_.isSet(); }

void StopRequest::waitForRequest() const { stopped_.wait(); }

void StopRequest::requestCheck() {
  const std::lock_guard lock(mutex_);
  checkRequested_ = true;
  wake_->set();
}

StopRequest::WaitEnd StopRequest::waitFor(std::chrono::milliseconds duration) {
  if (stopped_.isSet()) return WaitEnd::stopRequested;
  std::shared_ptr<platform::Event> wake;
  {
    const std::lock_guard lock(mutex_);
    if (takeCheck()) return WaitEnd::checkRequested;
    wake = wake_;
  }
  // A stop or a check that comes from here on sets this very event.
  wake->waitFor(duration);
  if (stopped_.isSet()) return WaitEnd::stopRequested;
  const std::lock_guard lock(mutex_);
  return takeCheck() ? WaitEnd::checkRequested : WaitEnd::timeUp;
}

bool StopRequest::takeCheck() {
  if (!checkRequested_) return false;
  checkRequested_ = false;
  wake_ = std::make_shared<platform::Event>();
  return true;
}

}  // namespace plandek
