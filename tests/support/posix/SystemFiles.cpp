#include "tests/support/SystemFiles.h"

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
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

bool runWithFilesLimitedTo(std::int64_t bytes, const std::function<void()>& action) {
  rlimit before{};
  if (::getrlimit(RLIMIT_FSIZE, &before) != 0 || bytes < 0) return false;
  if (before.rlim_max != RLIM_INFINITY && static_cast<rlim_t>(bytes) > before.rlim_max) return false;
  // Unignored, the signal a write across the limit raises ends the process.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  if (::sigaction(SIGXFSZ, &ignore, &previous) != 0) return false;
  rlimit limited = before;
  limited.rlim_cur = static_cast<rlim_t>(bytes);
  const bool limitedNow = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
  if (limitedNow) {
    action();
    ::setrlimit(RLIMIT_FSIZE, &before);
  }
  ::sigaction(SIGXFSZ, &previous, nullptr);
  return limitedNow;
}
