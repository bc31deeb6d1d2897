#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/FileContent.h"
#include "tests/support/TemporaryFolder.h"

// GoogleTest reads captured output back in text mode, which on Windows turns
// CR LF into LF. Passing the exact bytes through the same kind of read gives
// what an untranslated write must come back as, on every platform.
inline std::string asReadBackInTextMode(const std::string& bytes) {
  const TemporaryFolder folder("plandek-console");
  const std::filesystem::path path = folder.path() / "bytes.txt";
  writeFile(path, bytes);
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What `action` writes to standard output, as GoogleTest reads it back.
template <typename Action>
std::string consoleOutputOf(Action&& action) {
  testing::internal::CaptureStdout();
  action();
  return testing::internal::GetCapturedStdout();
}
