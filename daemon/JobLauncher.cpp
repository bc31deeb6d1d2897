#include "daemon/JobLauncher.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/Command.h"

namespace {

bool startDetachedThread(std::function<void()> body) {
  try {
    std::thread(std::move(body)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace

// Outlives the launcher as long as a job thread still holds it.
struct JobLauncher::Gate {
  explicit Gate(CommandRunner runner) : runCommand(std::move(runner)) {}

  const CommandRunner runCommand;
  std::mutex mutex;
  std::condition_variable reportsDone;
  int reporting = 0;
  bool closed = false;
};

void JobLauncher::runJob(const std::shared_ptr<Gate>& gate, const Process& process) {
  {
    const std::lock_guard lock(gate->mutex);
    if (gate->closed) return;
    ++gate->reporting;
  }
  process.log()("Starting {0}", {process.command()});
  {
    const std::lock_guard lock(gate->mutex);
    if (--gate->reporting == 0) gate->reportsDone.notify_all();
  }
  // A command that could not be started is as one that failed: nobody to tell.
  gate->runCommand(process.command(), process.environment());
}

JobLauncher::JobLauncher() : JobLauncher(startDetachedThread, platform::runCommand) {}

JobLauncher::JobLauncher(ThreadStarter startThread, CommandRunner runCommand)
    : startThread_(std::move(startThread)), gate_(std::make_shared<Gate>(std::move(runCommand))) {}

JobLauncher::~JobLauncher() { close(); }

bool JobLauncher::start(Process process) {
  // The body owns its copies; when no thread can be made they go at once.
  return startThread_([gate = gate_, process = std::move(process)] { runJob(gate, process); });
}

void JobLauncher::close() {
  std::unique_lock lock(gate_->mutex);
  gate_->closed = true;
  gate_->reportsDone.wait(lock, [this] { return gate_->reporting == 0; });
}
