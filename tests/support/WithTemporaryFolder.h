#pragma once

#include <gtest/gtest.h>

#include <system_error>

#include "tests/support/TemporaryFolder.h"

// A test with a fresh folder of its own, named after the test suite. The
// folder must be gone when the test ends: on Windows a file the code under
// test left open would keep it there.
class WithTemporaryFolder : public testing::Test {
 protected:
  void TearDown() override {
    const std::error_code error = folder_.remove();
    EXPECT_FALSE(error) << "removing " << folder_.path() << ": " << error.message();
  }

  TemporaryFolder folder_{testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()};
};
