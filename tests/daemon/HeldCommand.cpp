#include "HeldCommand.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "InTemporaryFolder.h"
#include "tests/support/FileContent.h"
#include "tests/support/TestProgram.h"

namespace plandek {

namespace {

namespace fs = std::filesystem;

const fs::path startedFile = "held-started";
const fs::path releaseFile = "held-release";
const fs::path endedFile = "held-ended";

}  // namespace

std::string HeldCommand::commandLine() {
  return quoted(testProgram("daemon_tests")) +
         " --gtest_also_run_disabled_tests --gtest_filter=HeldCommand.DISABLED_RunsUntilReleased > held.log 2>&1";
}

bool HeldCommand::awaitStart() { return awaitFile(startedFile); }

bool HeldCommand::hasEnded() { return fs::exists(endedFile); }

bool HeldCommand::release() {
  writeFile(releaseFile, "x");
  return awaitFile(endedFile);
}

// Not a test: the command that HeldCommand runs.
TEST(HeldCommand, DISABLED_RunsUntilReleased) {
  writeFile(startedFile, "x");
  ASSERT_TRUE(awaitFile(releaseFile));
  writeFile(endedFile, "x");
}

}  // namespace plandek
