#pragma once

#include <string>
#include <string_view>

#include "daemon/DaemonLog.h"
#include "platform/CommandEnvironment.h"

namespace plandek {

// One job: the command to run, the environment to run it in and a copy of the
// daemon's log to report its start to.
class Process {
 public:
  Process(std::string_view command, DaemonLog log, platform::CommandEnvironment environment = {})
      : command_(command), log_(std::move(log)), environment_(std::move(environment)) {}

  const std::string& command() const { return command_; }
  const DaemonLog& log() const { return log_; }
  const platform::CommandEnvironment& environment() const { return environment_; }

 private:
  std::string command_;
  DaemonLog log_;
  platform::CommandEnvironment environment_;
};

}  // namespace plandek
