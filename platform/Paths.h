#pragma once

#include <string>

namespace platform {

// The folder holding the running executable, UTF-8, without a trailing
// separator; the empty text when the system does not tell.
std::string executableDirectory();

// The process's working directory, full, UTF-8, as the system names it; the
// empty text when the system does not tell (the folder was removed).
std::string workingDirectory();

// The separator between folder names: '\\' on Windows, '/' elsewhere.
char pathSeparator();

}  // namespace platform
