#include "InTemporaryFolder.h"

#include <chrono>
#include <thread>

namespace plandek {

namespace fs = std::filesystem;

void InTemporaryFolder::SetUp() {
  previousFolder_ = fs::current_path();
  fs::current_path(folder_.path());
}

// Windows cannot remove a working directory: leave it before the folder goes.
void InTemporaryFolder::TearDown() { fs::current_path(previousFolder_); }

bool awaitFile(const fs::path& path) {
  using namespace std::chrono_literals;
  for (int wait = 0; wait < 6000 && !fs::exists(path); ++wait) std::this_thread::sleep_for(10ms);
  return fs::exists(path);
}

}  // namespace plandek
