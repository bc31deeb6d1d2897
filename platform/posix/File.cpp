#include "platform/File.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

// Larger requests gain nothing and Linux caps them near 2 GiB anyway.
constexpr std::int64_t largestRead = std::int64_t{1} << 30;

}  // namespace

File File::openForReading(std::string_view utf8Path) {
  // A zero byte would silently cut the name short.
  if (utf8Path.find('\0') != std::string_view::npos) return File();
  const std::string path(utf8Path);
  int descriptor = -1;
  do {
    descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor < 0 ? File() : File(descriptor);
}

std::int64_t File::read(void* buffer, std::int64_t size) {
  if (!isOpen() || size < 0) return -1;
  const auto request = static_cast<std::size_t>(size < largestRead ? size : largestRead);
  for (;;) {
    const ssize_t count = ::read(static_cast<int>(handle_), buffer, request);
    if (count >= 0) return count;
    if (errno != EINTR) return -1;
  }
}

void File::close() {
  if (!isOpen()) return;
  // Linux releases the descriptor even when close reports EINTR: never retry.
  ::close(static_cast<int>(handle_));
  handle_ = closedHandle;
}

}  // namespace platform
