#include "platform/Paths.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

std::string executableDirectory() {
  // readlink neither terminates nor says whether it truncated: grow until it fits.
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t lastSlash = path.rfind('/');
  return lastSlash == std::string::npos ? std::string() : path.substr(0, lastSlash);
}

std::string workingDirectory() {
  std::string path(256, '\0');
  while (::getcwd(path.data(), path.size()) == nullptr) {
    if (errno != ERANGE) return {};
    path.resize(path.size() * 2);
  }
  path.resize(path.find('\0'));
  return path;
}

char pathSeparator() { return '/'; }

}  // namespace platform
