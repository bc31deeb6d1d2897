#pragma once

#include <string_view>

namespace platform {

// Runs the command line through the system's command interpreter and waits
// until it has ended; its exit status is not looked at. POSIX hands the line
// as it is to /bin/sh -c; Windows hands it, enclosed in double quotes, to
// %ComSpec% /c without a console window. False when the interpreter could not
// be started, or the line holds a zero byte, which no interpreter can receive.
bool runCommand(std::string_view commandLine);

}  // namespace platform
