#include "platform/Event.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace platform {

// A pipe that becomes readable when the event is set: poll's timeout runs on
// the monotonic clock, where a condition variable's absolute deadline on the
// system clock would follow a clock set back.
struct Event::Handle {
  std::atomic<bool> isSet{false};
  int readEnd = -1;
  int writeEnd = -1;
};

Event::Event() : handle_(std::make_unique<Handle>()) {
  int ends[2];
  // Close-on-exec: commands started meanwhile must not hold the ends open.
  if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
    handle_->readEnd = ends[0];
    handle_->writeEnd = ends[1];
  }
}

Event::~Event() {
  if (handle_->readEnd >= 0) ::close(handle_->readEnd);
  if (handle_->writeEnd >= 0) ::close(handle_->writeEnd);
}

void Event::set() {
  if (handle_->isSet.exchange(true) || handle_->writeEnd < 0) return;
  const char byte = 's';
  while (::write(handle_->writeEnd, &byte, 1) < 0 && errno == EINTR) {
  }
}

bool Event::isSet() const { return handle_->isSet.load(); }

bool Event::waitFor(std::chrono::milliseconds timeout) const {
  if (isSet()) return true;
  // One poll, not a loop that measures what is left on the monotonic clock:
  // under libfaketime that clock moves with the fake wall clock, and a loop
  // would follow a clock set back after all. A signal may end the wait early.
  // Without a pipe (no descriptors left) the poll is a plain sleep.
  pollfd readable{handle_->readEnd, POLLIN, 0};
  ::poll(&readable, 1, static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX)));
  return isSet();
}

void Event::wait() const {
  while (!waitFor(std::chrono::hours(1))) {
  }
}

}  // namespace platform
