#include "tests/support/SystemFiles.h"

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace {

// Root passes file modes by these two capabilities. Capabilities belong to a
// thread, and the raw system call (unlike glibc's wrappers of setuid and the
// like) changes the calling thread's alone.
bool dropFileModeOverrides() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

bool makeNamedPipe(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

bool makeEndlessDeviceLink(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::create_symlink("/dev/zero", path, error);
  return !error;
}

std::string nullDeviceName() { return "/dev/null"; }

// Locks here are advisory: nothing keeps another reader out.
std::shared_ptr<void> holdWithoutSharing(const std::filesystem::path&) { return nullptr; }

bool hasFileModes() { return true; }

bool runsAsRoot() { return ::geteuid() == 0; }

bool giveToUser(const std::filesystem::path& path, std::uint32_t user) {
  return runsAsRoot() && ::chown(path.c_str(), static_cast<uid_t>(user), static_cast<gid_t>(-1)) == 0;
}

bool runBoundByFileModes(const std::function<void()>& action) {
  bool bound = false;
  std::thread([&] {
    bound = !runsAsRoot() || dropFileModeOverrides();
    if (bound) action();
  }).join();
  return bound;
}
