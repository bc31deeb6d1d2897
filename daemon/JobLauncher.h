#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "daemon/Process.h"

namespace plandek {

// Starts each job on the calling thread and never waits for one: a slow
// command does not hold up the scheduler, a command that is due again while
// it runs starts a second time, and a running job costs the daemon no thread.
// Each start is reported, "Starting {0}" with its command, before the command
// runs; a start that did not happen is reported after it as
// "Could not start ({0}): {1}" with the reason and the command.
class JobLauncher {
 public:
  // Starts the command line in the environment without waiting for it; empty
  // when it started, otherwise why not.
  using CommandStarter =
      std::function<std::string(std::string_view commandLine, const platform::CommandEnvironment& environment)>;

  // The system's command interpreter.
  JobLauncher();
  explicit JobLauncher(CommandStarter startCommand);
  JobLauncher(const JobLauncher&) = delete;
  JobLauncher& operator=(const JobLauncher&) = delete;
  // Closes.
  ~JobLauncher();

  // False when the command could not be started, or the launcher is closed.
  bool start(const Process& process);
  // From now on no job reports or starts; waits for a start under way, so the
  // log it reports to may go next. Commands already running are left to end
  // on their own.
  void close();

 private:
  const CommandStarter startCommand_;
  std::mutex mutex_;
  bool closed_ = false;
};

}  // namespace plandek
