#include "daemon/JobLauncher.h"

#include <utility>

#include "platform/Command.h"

namespace plandek {

JobLauncher::JobLauncher() : JobLauncher(CommandStarter(platform::startCommand)) {}

JobLauncher::JobLauncher(CommandStarter startCommand) : startCommand_(std::move(startCommand)) {}

JobLauncher::~JobLauncher() { close(); }

bool JobLauncher::start(const Process& process) {
  // Held across the start, which does not wait for the command: close waits
  // at most for one start.
  const std::lock_guard lock(mutex_);
  if (closed_) return false;
  process.log()("Starting {0}", {process.command()});
  const std::string failure = startCommand_(process.command(), process.environment());
  if (failure.empty()) return true;
  process.log()("Could not start ({0}): {1}", {failure, process.command()});
  return false;
}

void JobLauncher::close() {
  const std::lock_guard lock(mutex_);
  closed_ = true;
}

}  // namespace plandek
