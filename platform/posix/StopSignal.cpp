#include "platform/StopSignal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr int stopSignals[] = {SIGTERM, SIGINT};
constexpr char stopByte = 's';
constexpr char quitByte = 'q';

// The handler's only way out: a byte into a pipe that a watcher thread reads.
// The pipe lives as long as the process, so a handler that is still running
// while its StopSignal goes never writes into a closed descriptor.
struct WakePipe {
  int readEnd = -1;
  int writeEnd = -1;
};
std::atomic<int> handlerWriteEnd{-1};

const WakePipe& wakePipe() {
  static const WakePipe pipe = [] {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return WakePipe{};
    handlerWriteEnd.store(ends[1]);
    return WakePipe{ends[0], ends[1]};
  }();
  return pipe;
}

// Async-signal-safe. A full pipe drops the byte: the watcher is awake anyway.
void wake(int writeEnd, char byte) {
  while (::write(writeEnd, &byte, 1) < 0 && errno == EINTR) {
  }
}

extern "C" void onStopRequest(int) {
  const int savedErrno = errno;
  const int writeEnd = handlerWriteEnd.load();
  if (writeEnd >= 0) wake(writeEnd, stopByte);
  errno = savedErrno;
}

// Bytes left by a request that reached an earlier StopSignal as it went.
void drain(int readEnd) {
  char bytes[64];
  while (::read(readEnd, bytes, sizeof bytes) > 0) {
  }
}

void watch(int readEnd, const std::function<void()>& onStop, const std::atomic<bool>& quitting) {
  for (;;) {
    pollfd readable{readEnd, POLLIN, 0};
    if (::poll(&readable, 1, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    char bytes[64];
    const ssize_t count = ::read(readEnd, bytes, sizeof bytes);
    for (ssize_t at = 0; at < count; ++at) {
      if (bytes[at] == quitByte) return;
      onStop();
    }
    if (quitting.load()) return;
  }
}

}  // namespace

struct StopSignal::Listener {
  std::function<void()> onStop;
  std::atomic<bool> quitting{false};
  std::thread watcher;
  struct sigaction previous[std::size(stopSignals)] = {};
};

StopSignal::StopSignal(std::function<void()> onStop) : listener_(std::make_unique<Listener>()) {
  const WakePipe& pipe = wakePipe();
  if (pipe.readEnd < 0) return;
  drain(pipe.readEnd);
  listener_->onStop = std::move(onStop);
  try {
    listener_->watcher =
        std::thread(watch, pipe.readEnd, std::cref(listener_->onStop), std::cref(listener_->quitting));
  } catch (const std::system_error&) {
    return;
  }
  struct sigaction action = {};
  action.sa_handler = onStopRequest;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t at = 0; at < std::size(stopSignals); ++at) {
    ::sigaction(stopSignals[at], &action, &listener_->previous[at]);
  }
}

StopSignal::~StopSignal() {
  if (!isListening()) return;
  for (std::size_t at = 0; at < std::size(stopSignals); ++at) {
    ::sigaction(stopSignals[at], &listener_->previous[at], nullptr);
  }
  listener_->quitting.store(true);
  wake(wakePipe().writeEnd, quitByte);
  listener_->watcher.join();
}

bool StopSignal::isListening() const { return listener_->watcher.joinable(); }

bool requestStopOfThisProcess() { return ::kill(::getpid(), SIGTERM) == 0; }

}  // namespace platform
