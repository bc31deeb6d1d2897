#include "platform/Event.h"

#include <algorithm>
#include <atomic>

#include <windows.h>

namespace platform {

// A manual-reset event: WaitForSingleObject measures its timeout in elapsed
// time, whatever happens to the system clock.
struct Event::Handle {
  std::atomic<bool> isSet{false};
  HANDLE event = nullptr;
};

Event::Event() : handle_(std::make_unique<Handle>()) {
  handle_->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

Event::~Event() {
  if (handle_->event != nullptr) CloseHandle(handle_->event);
}

void Event::set() {
  if (handle_->isSet.exchange(true) || handle_->event == nullptr) return;
  SetEvent(handle_->event);
}

bool Event::isSet() const { return handle_->isSet.load(); }

bool Event::waitFor(std::chrono::milliseconds timeout) const {
  if (isSet()) return true;
  // INFINITE is the one value that never times out.
  const auto milliseconds =
      static_cast<DWORD>(std::clamp<long long>(timeout.count(), 0, static_cast<long long>(INFINITE) - 1));
  if (handle_->event == nullptr) {
    Sleep(milliseconds);
  } else {
    WaitForSingleObject(handle_->event, milliseconds);
  }
  return isSet();
}

void Event::wait() const {
  while (!waitFor(std::chrono::hours(1))) {
  }
}

}  // namespace platform
