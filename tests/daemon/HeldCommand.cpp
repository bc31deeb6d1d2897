#include "HeldCommand.h"

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

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

bool awaitFile(const fs::path& path) {
  for (int wait = 0; wait < 6000 && !fs::exists(path); ++wait) std::this_thread::sleep_for(10ms);
  return fs::exists(path);
}

std::string HeldCommand::commandLine() {
  return "\"" + thisTestProgram().string() +
         "\" --gtest_also_run_disabled_tests --gtest_filter=HeldCommand.DISABLED_RunsUntilReleased > "
         "held.log 2>&1";
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

void InTemporaryFolder::SetUp() {
  previousFolder_ = fs::current_path();
  folder_ = fs::temp_directory_path() / ("plandek-test-" + std::to_string(std::random_device()()));
  fs::create_directories(folder_);
  fs::current_path(folder_);
}

void InTemporaryFolder::TearDown() {
  fs::current_path(previousFolder_);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}
