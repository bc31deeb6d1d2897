#include "daemon/JobLauncher.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/Command.h"

// Outlives the launcher as long as a job thread still holds it.
struct JobLauncher::Gate {
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
  platform::runCommand(process.command());
}

JobLauncher::JobLauncher() : gate_(std::make_shared<Gate>()) {}

JobLauncher::~JobLauncher() { close(); }

bool JobLauncher::start(Process process) {
  try {
    // The thread owns its copies; when it cannot be made they go at once.
    std::thread(runJob, gate_, std::move(process)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void JobLauncher::close() {
  std::unique_lock lock(gate_->mutex);
  gate_->closed = true;
  gate_->reportsDone.wait(lock, [this] { return gate_->reporting == 0; });
}
