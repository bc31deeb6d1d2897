#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "daemon/Process.h"

// Starts each job in a thread of its own and never waits for one: a slow
// command does not hold up the scheduler, and a command that is due again
// while it runs starts a second time. A job thread reports "Starting {0}"
// with its command and then runs it through the system's command interpreter.
class JobLauncher {
 public:
  // Runs the body in a new thread that nobody waits for; false, with the body
  // gone unrun, when no thread could be made.
  using ThreadStarter = std::function<bool(std::function<void()> body)>;
  // Runs the command line in the environment and waits for it; false when it
  // could not be started.
  using CommandRunner =
      std::function<bool(std::string_view commandLine, const platform::CommandEnvironment& environment)>;

  // Detached standard threads and the system's command interpreter.
  JobLauncher();
  JobLauncher(ThreadStarter startThread, CommandRunner runCommand);
  JobLauncher(const JobLauncher&) = delete;
  JobLauncher& operator=(const JobLauncher&) = delete;
  // Closes.
  ~JobLauncher();

  // False when no thread could be made: that start is lost and nothing of it
  // is kept.
  bool start(Process process);
  // From now on no job reports or runs; waits only for reports under way, so
  // the log they go to may go next. Commands already running are left to end
  // on their own.
  void close();

 private:
  struct Gate;
  static void runJob(const std::shared_ptr<Gate>& gate, const Process& process);

  ThreadStarter startThread_;
  std::shared_ptr<Gate> gate_;
};
