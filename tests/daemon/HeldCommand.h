#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A command for both interpreters that runs until the test lets it go: this
// test program again, running only HeldCommand.DISABLED_RunsUntilReleased in
// the working directory, which it shares with the test.
class HeldCommand {
 public:
  // The command line; its output goes to "held.log".
  static std::string commandLine();
  // False when the command did not start within a generous time.
  static bool awaitStart();
  static bool hasEnded();
  // Lets it end, and waits until it has.
  static bool release();
};

// False when `path` did not appear within a generous time.
bool awaitFile(const std::filesystem::path& path);

// Each test runs in a fresh temporary working directory.
class InTemporaryFolder : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path folder_;

 private:
  std::filesystem::path previousFolder_;
};
