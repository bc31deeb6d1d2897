#include "platform/Event.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {

// A pipe that becomes readable when the event is set, waited on with a timer
// on the monotonic clock, where a condition variable's absolute deadline on
// the system clock would follow a clock set back.
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
  if (isSet() || timeout <= std::chrono::milliseconds(0)) return isSet();
  // A timer of its own rather than poll's timeout: Linux lets a poll end up
  // to a thousandth of its timeout late (60 ms on a minute's wait), while the
  // timer fires on time. Both count elapsed time, never the wall clock. Not a
  // loop that measures what is left: under libfaketime the monotonic clock
  // jumps with the fake wall clock, and the loop would follow a clock set
  // back after all. A signal may end the wait early.
  const int timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
  itimerspec expiry{};
  expiry.it_value.tv_sec = static_cast<time_t>(timeout.count() / 1000);
  expiry.it_value.tv_nsec = static_cast<long>(timeout.count() % 1000 * 1'000'000);
  if (timer >= 0 && ::timerfd_settime(timer, 0, &expiry, nullptr) == 0) {
    pollfd ready[2] = {{handle_->readEnd, POLLIN, 0}, {timer, POLLIN, 0}};
    ::poll(ready, 2, -1);
  } else {
    // Without a pipe (no descriptors left) this is a plain sleep.
    pollfd readable{handle_->readEnd, POLLIN, 0};
    ::poll(&readable, 1, static_cast<int>(std::min<long long>(timeout.count(), INT_MAX)));
  }
  if (timer >= 0) ::close(timer);
  return isSet();
}

void Event::wait() const {
  while (!waitFor(std::chrono::hours(1))) {
  }
}

}  // namespace platform
