#include "platform/StopSignal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <poll.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

constexpr int caughtSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr char stopByte = 's';
constexpr char reloadByte = 'r';
constexpr char quitByte = 'q';

// Counted in the handler: a StopSignal that goes after a stop came leaves the
// handler in place.
std::atomic<unsigned> stopsCaught{0};
static_assert(std::atomic<unsigned>::is_always_lock_free, "the handler may only touch lock-free atomics");

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

extern "C" void onSignal(int number) {
  const int savedErrno = errno;
  if (number != SIGHUP) stopsCaught.fetch_add(1);
  const int writeEnd = handlerWriteEnd.load();
  if (writeEnd >= 0) wake(writeEnd, number == SIGHUP ? reloadByte : stopByte);
  errno = savedErrno;
}

// Bytes left by a request that reached an earlier StopSignal as it went.
void drain(int readEnd) {
  char bytes[64];
  while (::read(readEnd, bytes, sizeof bytes) > 0) {
  }
}

void watch(int readEnd, const std::function<void()>& onStop, const std::function<void()>& onReload,
           const std::atomic<bool>& quitting) {
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
      if (bytes[at] != reloadByte) {
        onStop();
      } else if (onReload) {
        onReload();
      }
    }
    if (quitting.load()) return;
  }
}

void catchSignals(struct sigaction (&previous)[std::size(caughtSignals)]) {
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t at = 0; at < std::size(caughtSignals); ++at) {
    ::sigaction(caughtSignals[at], &action, &previous[at]);
  }
}

}  // namespace

struct StopSignal::Listener {
  std::function<void()> onStop;
  std::function<void()> onReload;
  std::atomic<bool> quitting{false};
  std::thread watcher;
  unsigned stopsCaughtBefore = 0;
  struct sigaction previous[std::size(caughtSignals)] = {};
};

StopSignal::StopSignal(std::function<void()> onStop, std::function<void()> onReload)
    : listener_(std::make_unique<Listener>()) {
  const WakePipe& pipe = wakePipe();
  if (pipe.readEnd < 0) return;
  drain(pipe.readEnd);
  listener_->onStop = std::move(onStop);
  listener_->onReload = std::move(onReload);
  listener_->stopsCaughtBefore = stopsCaught.load();
  try {
    listener_->watcher = std::thread(watch, pipe.readEnd, std::cref(listener_->onStop),
                                     std::cref(listener_->onReload), std::cref(listener_->quitting));
  } catch (const std::system_error&) {
    return;
  }
  catchSignals(listener_->previous);
}

StopSignal::~StopSignal() {
  if (!isListening()) return;
  // After a stop the process is on its way out in order, and a second request
  // must not end it half-way: the handler stays, its bytes go unread. Caught,
  // not ignored, because commands started meanwhile inherit an ignored signal.
  if (stopsCaught.load() == listener_->stopsCaughtBefore) {
    for (std::size_t at = 0; at < std::size(caughtSignals); ++at) {
      ::sigaction(caughtSignals[at], &listener_->previous[at], nullptr);
    }
    // A stop caught just before the handlers went.
    if (stopsCaught.load() != listener_->stopsCaughtBefore) {
      struct sigaction unused[std::size(caughtSignals)];
      catchSignals(unused);
    }
  }
  listener_->quitting.store(true);
  wake(wakePipe().writeEnd, quitByte);
  listener_->watcher.join();
}

bool StopSignal::isListening() const { return listener_->watcher.joinable(); }

bool requestStopOfThisProcess() { return ::kill(::getpid(), SIGTERM) == 0; }

bool requestReloadOfThisProcess() { return ::kill(::getpid(), SIGHUP) == 0; }

}  // namespace platform
