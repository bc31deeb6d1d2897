#pragma once

#include <chrono>
#include <memory>

namespace platform {

// A flag that is set once and stays set, and that threads can wait for. Waits
// are measured in elapsed time, not on the wall clock: a clock set back or
// forward meanwhile neither lengthens nor shortens them.
class Event {
 public:
  Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event();

  // Any thread, any number of times; wakes every waiter at once.
  void set();
  bool isSet() const;
  // True when the event is set, at once or within `timeout`; false when the
  // timeout ran out first or, rarely, when a signal cut the wait short.
  bool waitFor(std::chrono::milliseconds timeout) const;
  // Returns once the event is set.
  void wait() const;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

}  // namespace platform
