#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TemporaryFolder.h"

namespace plandek {

// Each test runs with a fresh temporary folder as its working directory,
// removed afterwards.
class InTemporaryFolder : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  TemporaryFolder folder_{"plandek-test"};
  std::filesystem::path previousFolder_;
};

// False when `path` did not appear within a generous time.
bool awaitFile(const std::filesystem::path& path);

}  // namespace plandek
