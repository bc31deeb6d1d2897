#pragma once

#include <string>
#include <string_view>

#include "daemon/DaemonLog.h"

// One job: the command to run and a copy of the daemon's log to report its
// start to.
class Process {
 public:
  Process(std::string_view command, DaemonLog log) : command_(command), log_(std::move(log)) {}

  const std::string& command() const { return command_; }
  const DaemonLog& log() const { return log_; }

 private:
  std::string command_;
  DaemonLog log_;
};
