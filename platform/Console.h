#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes the UTF-8 text to standard output and flushes it. Callers add their
// own line ends. Nothing is reported when there is no output.
void writeConsole(std::string_view text);

// The words after the program's name, in UTF-8. On Windows they are read from
// the wide command line: argv holds them in the ANSI code page, which cannot
// hold every file name.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace platform
