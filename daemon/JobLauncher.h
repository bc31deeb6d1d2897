#pragma once

#include <memory>

#include "daemon/Process.h"

// Starts each job in a thread of its own and never waits for one: a slow
// command does not hold up the scheduler, and a command that is due again
// while it runs starts a second time. A job thread reports "Starting {0}"
// with its command and then runs it through the system's command interpreter.
class JobLauncher {
 public:
  JobLauncher();
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

  std::shared_ptr<Gate> gate_;
};
