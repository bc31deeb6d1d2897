#include "InTemporaryFolder.h"

#include <chrono>
#include <random>
#include <string>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

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

bool awaitFile(const fs::path& path) {
  using namespace std::chrono_literals;
  for (int wait = 0; wait < 6000 && !fs::exists(path); ++wait) std::this_thread::sleep_for(10ms);
  return fs::exists(path);
}
