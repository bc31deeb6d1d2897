#pragma once

#include <filesystem>
#include <string>

#include "platform/Paths.h"
#include "tests/support/Utf8Path.h"

// The test program `name` ("daemon_tests", whatever the system's extension)
// in the folder this one runs from; empty when there is none.
inline std::filesystem::path testProgram(const std::string& name) {
  for (const std::filesystem::directory_entry& entry :
       std::filesystem::directory_iterator(pathOf(platform::executableDirectory()))) {
    if (entry.path().stem() == name && entry.is_regular_file()) return entry.path();
  }
  return {};
}

// The path quoted for both interpreters, sh and cmd.exe; test paths hold no quotes.
inline std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }
