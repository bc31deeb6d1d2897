#pragma once

#include <functional>
#include <memory>

namespace platform {

// While it lives, the system's requests that the process end in order call
// `onStop` instead of ending it: SIGTERM and SIGINT on POSIX; Ctrl-C, Ctrl-Break,
// closing the console, log-off and shutdown on Windows, where a hidden window
// also takes the session's end and a close message (taskkill without /f).
// On POSIX, SIGHUP, the request to read the configuration again, calls
// `onReload` instead of ending the process, or does nothing without one;
// Windows has no such request. Both run on a thread of the platform's, never inside a signal
// handler, and may run more than once; they must return promptly. One at a
// time per process. Before it, a request has the system's usual effect; after
// it too, unless a stop request came while it lived: the process is then on its
// way out in order, and every later request is absorbed until it ends.
class StopSignal {
 public:
  explicit StopSignal(std::function<void()> onStop, std::function<void()> onReload = nullptr);
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;
  ~StopSignal();

  // False when the system's requests could not be caught.
  bool isListening() const;

 private:
  struct Listener;
  std::unique_ptr<Listener> listener_;
};

// Sends this process a request to end in order, as the system would (SIGTERM on
// POSIX, a close message to the hidden window on Windows). False when it could
// not be sent. Meant for tests: without a listening StopSignal it ends the process.
bool requestStopOfThisProcess();

// Sends this process SIGHUP on POSIX. False when it could not be sent, and on
// Windows, which has no such request. Meant for tests.
bool requestReloadOfThisProcess();

}  // namespace platform
