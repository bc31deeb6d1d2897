#pragma once

#include <string_view>

#include "platform/CommandEnvironment.h"

namespace platform {

// Runs the command line through the system's command interpreter, in
// `environment`, and waits until it has ended; its exit status is not looked
// at. POSIX hands the line as it is to `/bin/sh -c` (or the environment's
// SHELL); Windows hands it, enclosed in double quotes, to %ComSpec% /c without
// a console window, taking a line that is not valid UTF-8 as text in the ANSI
// code page. False when the interpreter could not be started, or the line
// holds a zero byte, which no interpreter can receive.
bool runCommand(std::string_view commandLine, const CommandEnvironment& environment = {});

}  // namespace platform
