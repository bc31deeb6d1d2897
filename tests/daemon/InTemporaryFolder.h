#pragma once

#include <gtest/gtest.h>

#include <filesystem>

// Each test runs in a fresh temporary working directory, removed afterwards.
class InTemporaryFolder : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::filesystem::path folder_;
  std::filesystem::path previousFolder_;
};

// False when `path` did not appear within a generous time.
bool awaitFile(const std::filesystem::path& path);
