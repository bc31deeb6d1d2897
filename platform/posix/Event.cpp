#include "platform/Event.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/Clock.h"

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
  // Without a pipe (no descriptors left) the wait is a plain sleep, and a set
  // shows when it ends.
  const double end = secondsTimer() + std::chrono::duration<double>(timeout).count();
  for (;;) {
    if (isSet()) return true;
    const double left = end - secondsTimer();
    if (left <= 0) return false;
    pollfd readable{handle_->readEnd, POLLIN, 0};
    const int milliseconds = static_cast<int>(std::min(left * 1000.0 + 1.0, double{INT_MAX}));
    // A signal cuts the poll short; the loop waits out the rest.
    ::poll(&readable, 1, milliseconds);
  }
}

void Event::wait() const {
  while (!waitFor(std::chrono::hours(1))) {
  }
}

}  // namespace platform
