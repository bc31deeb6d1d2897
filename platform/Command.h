#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/CommandEnvironment.h"

namespace platform {

// Commands run through the system's command interpreter, in `environment`.
// POSIX hands the line as it is to `/bin/sh -c` (or the environment's SHELL,
// which must be a full path); Windows hands it, enclosed in double quotes, to
// %ComSpec% /c without a console window, taking the line as UTF-8, bytes that
// are not valid UTF-8 becoming U+FFFD (see utf8FromSystemText). Each command has an empty standard input and
// runs apart from the daemon, so that nothing it signals to its own group
// reaches the daemon or other commands: in a session of its own on POSIX, in
// a process group of its own on Windows. A line holding a zero byte, which no
// interpreter can receive, is never run.

// Starts the command and returns at once; the daemon never waits for it, and
// nothing of it stays behind when it ends (on POSIX, one thread of the
// process reaps the commands started here, and only those). Empty when it
// started; otherwise why not, in plain words with the system's error text,
// never holding "): ".
std::string startCommand(std::string_view commandLine, const CommandEnvironment& environment = {});

// Starts the command and waits until it has ended; its exit status is not
// looked at. False when it could not be started.
bool runCommand(std::string_view commandLine, const CommandEnvironment& environment = {});

// Why the system cannot pass the command line to the interpreter, the limit
// named: it is too long. Empty when it fits.
std::string commandLineRefusal(std::string_view commandLine);

// The longest command of ASCII characters that the system can pass: 131,071
// bytes on POSIX (one argument of at most 32 pages, its terminating zero
// included); on Windows what leaves room in 32,767 UTF-16 characters for the
// interpreter's path, the quotes, " /c " and the terminating zero.
std::size_t longestAsciiCommandLine();

}  // namespace platform
