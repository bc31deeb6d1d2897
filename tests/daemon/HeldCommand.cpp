#include "HeldCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "InTemporaryFolder.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;

const fs::path startedFile = "held-started";
const fs::path releaseFile = "held-release";
const fs::path endedFile = "held-ended";

fs::path thisTestProgram() {
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::u8path(platform::executableDirectory()))) {
    if (entry.path().stem() == "daemon_tests" && entry.is_regular_file()) return entry.path();
  }
  return {};
}

void touch(const fs::path& path) { std::ofstream(path) << "x"; }

}  // namespace

std::string HeldCommand::commandLine() {
  std::string line = "\"";
  return line.append(thisTestProgram().string())
      .append("\" --gtest_also_run_disabled_tests --gtest_filter=HeldCommand.DISABLED_RunsUntilReleased")
      .append(" > held.log 2>&1");
}

bool HeldCommand::awaitStart() { return awaitFile(startedFile); }

bool HeldCommand::hasEnded() { return fs::exists(endedFile); }

bool HeldCommand::release() {
  touch(releaseFile);
  return awaitFile(endedFile);
}

// Not a test: the command that HeldCommand runs.
TEST(HeldCommand, DISABLED_RunsUntilReleased) {
  touch(startedFile);
  ASSERT_TRUE(awaitFile(releaseFile));
  touch(endedFile);
}
