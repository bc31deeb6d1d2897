#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// GoogleTest reads captured output back in text mode, which on Windows turns
// CR LF into LF. Passing the exact bytes through the same kind of read gives
// what an untranslated write must come back as, on every platform.
inline std::string asReadBackInTextMode(const std::string& bytes) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("plandek-console-" + std::to_string(std::random_device()()) + ".txt");
  std::ofstream(path, std::ios::binary) << bytes;
  std::ifstream in(path);
  std::string readBack((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(path);
  return readBack;
}

// What `action` writes to standard output, as GoogleTest reads it back.
template <typename Action>
std::string consoleOutputOf(Action&& action) {
  testing::internal::CaptureStdout();
  action();
  return testing::internal::GetCapturedStdout();
}
