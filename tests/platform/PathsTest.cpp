#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/Utf8Path.h"

namespace {

// The folder ctest starts this binary from, in UTF-8. A non-ASCII name comes
// in hexadecimal: Windows would hand getenv the ANSI code page's bytes.
std::string expectedFolder() {
  if (const char* plain = std::getenv("PLANDEK_EXPECTED_EXE_FOLDER")) return plain;
  const char* hex = std::getenv("PLANDEK_EXPECTED_EXE_FOLDER_HEX");
  if (hex == nullptr) return {};
  std::string folder;
  for (const char* digit = hex; digit[0] != '\0' && digit[1] != '\0'; digit += 2) {
    folder.push_back(static_cast<char>(std::stoi(std::string(digit, 2), nullptr, 16)));
  }
  return folder;
}

}  // namespace

TEST(ExecutableDirectory, EndsWithTheFolderTheTestRunsFrom) {
  const std::string folder = expectedFolder();
  ASSERT_FALSE(folder.empty()) << "run through ctest";

  const std::string directory = platform::executableDirectory();
  const std::string suffix = platform::pathSeparator() + folder;
  ASSERT_GE(directory.size(), suffix.size()) << directory;
  EXPECT_EQ(directory.substr(directory.size() - suffix.size()), suffix) << directory;
}

TEST(ExecutableDirectory, IsAbsolute) {
  const std::string directory = platform::executableDirectory();
  ASSERT_FALSE(directory.empty());
  const bool posixRoot = directory.front() == '/';
  const bool driveRoot = directory.size() >= 3 && directory[1] == ':' && directory[2] == '\\';
  EXPECT_TRUE(posixRoot || driveRoot) << directory;
}

TEST(WorkingDirectory, IsTheFolderTheProcessWorksIn) {
  EXPECT_EQ(platform::workingDirectory(), utf8(std::filesystem::current_path()));
}
