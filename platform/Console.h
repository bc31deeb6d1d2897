#pragma once

#include <string_view>

namespace platform {

// Writes the bytes as they are to standard output and flushes them. Callers
// add their own line ends. Nothing is reported when there is no output.
void writeConsole(std::string_view text);

}  // namespace platform
