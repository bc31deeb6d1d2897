#pragma once

// Implementation details of the POSIX platform layer only: what
// CommandEnvironment makes and runCommand hands to posix_spawn.

#include <string>
#include <string_view>
#include <vector>

#include "platform/CommandEnvironment.h"

struct platform::CommandEnvironment::Prepared {
  // "NAME=value", the daemon's variables first in their order.
  std::vector<std::string> variables;
  // Into `variables`, ending with a null pointer.
  std::vector<char*> pointers;
  // The interpreter where SHELL names none.
  static constexpr std::string_view defaultInterpreter = "/bin/sh";
  // A path, and its last part, which the interpreter is told is its name.
  std::string interpreter;
  std::string interpreterName;
};
