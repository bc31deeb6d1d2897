#include "platform/File.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Larger requests gain nothing and Linux caps them near 2 GiB anyway.
constexpr std::int64_t largestTransfer = std::int64_t{1} << 30;

File::OpenError openErrorOf(int error) {
  return error == EMFILE || error == ENFILE ? File::OpenError::noFreeHandle : File::OpenError::failed;
}

// O_CLOEXEC throughout: commands the daemon starts must not inherit its files.
int openDescriptor(std::string_view utf8Path, int flags) {
  // A zero byte would silently cut the name short.
  if (utf8Path.empty() || utf8Path.find('\0') != std::string_view::npos) {
    errno = ENOENT;
    return -1;
  }
  const std::string path(utf8Path);
  int descriptor = -1;
  do {
    descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

// Counts in `written` what went in before a failure.
bool writeAll(int descriptor, const void* buffer, std::int64_t size, std::int64_t& written) {
  const auto* bytes = static_cast<const char*>(buffer);
  while (written < size) {
    const std::int64_t left = size - written;
    const auto request = static_cast<std::size_t>(left < largestTransfer ? left : largestTransfer);
    const ssize_t count = ::write(descriptor, bytes + written, request);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += count;
  }
  return true;
}

File::Identity identityOf(const struct stat& status) {
  return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

}  // namespace

File File::openForReading(std::string_view utf8Path) {
  // Without O_NONBLOCK the open of a named pipe waits for a writer.
  const int descriptor = openDescriptor(utf8Path, O_RDONLY | O_NONBLOCK);
  if (descriptor < 0) return File(openErrorOf(errno));
  File file(descriptor);
  // Anything else keeps O_NONBLOCK, so that no read waits for a writer.
  if (file.isRegularFile()) {
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0) ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK);
  }
  return file;
}

File File::openForWriting(std::string_view utf8Path) {
  const int descriptor = openDescriptor(utf8Path, O_WRONLY | O_CREAT | O_TRUNC);
  return descriptor < 0 ? File(openErrorOf(errno)) : File(descriptor);
}

File File::openForAppending(std::string_view utf8Path) {
  const int descriptor = openDescriptor(utf8Path, O_WRONLY | O_CREAT | O_APPEND);
  return descriptor < 0 ? File(openErrorOf(errno)) : File(descriptor);
}

std::int64_t File::read(void* buffer, std::int64_t size) {
  if (!isOpen() || size < 0) return -1;
  const auto request = static_cast<std::size_t>(size < largestTransfer ? size : largestTransfer);
  for (;;) {
    const ssize_t count = ::read(static_cast<int>(handle_), buffer, request);
    if (count >= 0) return count;
    if (errno != EINTR) return -1;
  }
}

bool File::write(const void* buffer, std::int64_t size) {
  std::int64_t written = 0;
  return isOpen() && size >= 0 && writeAll(static_cast<int>(handle_), buffer, size, written);
}

std::optional<File::Identity> File::identity() const {
  struct stat status {};
  if (!isOpen() || ::fstat(static_cast<int>(handle_), &status) != 0) return std::nullopt;
  return identityOf(status);
}

File::NameLookup File::identityAt(std::string_view utf8Path) {
  if (utf8Path.empty() || utf8Path.find('\0') != std::string_view::npos) return {NameLookup::Outcome::absent, {}};
  struct stat status {};
  if (::stat(std::string(utf8Path).c_str(), &status) == 0) return {NameLookup::Outcome::found, identityOf(status)};
  // A part of the path that is a file, not a folder, leaves no room for one.
  const bool absent = errno == ENOENT || errno == ENOTDIR;
  return {absent ? NameLookup::Outcome::absent : NameLookup::Outcome::unknown, {}};
}

bool File::isRegularFile() const {
  struct stat status {};
  return isOpen() && ::fstat(static_cast<int>(handle_), &status) == 0 && S_ISREG(status.st_mode);
}

File::WriteExposure File::writeExposure() const {
  struct stat status {};
  if (!isOpen() || ::fstat(static_cast<int>(handle_), &status) != 0) return {};
  constexpr uid_t root = 0;
  if (status.st_uid != ::geteuid() && status.st_uid != root) {
    return {WriteExposure::Reason::ownedByAnotherUser, static_cast<std::uint64_t>(status.st_uid)};
  }
  if ((status.st_mode & S_IWOTH) != 0) return {WriteExposure::Reason::writableByEveryUser, 0};
  return {};
}

bool File::isInheritedByChildProcesses() const {
  if (!isOpen()) return false;
  const int flags = ::fcntl(static_cast<int>(handle_), F_GETFD);
  return flags >= 0 && (flags & FD_CLOEXEC) == 0;
}

bool File::truncate(std::int64_t size) {
  if (!isOpen() || size < 0) return false;
  for (;;) {
    if (::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) == 0) return true;
    if (errno != EINTR) return false;
  }
}

bool File::appendWhole(std::string_view bytes) {
  std::int64_t written = 0;
  if (!isOpen()) return false;
  if (writeAll(static_cast<int>(handle_), bytes.data(), static_cast<std::int64_t>(bytes.size()), written)) return true;
  // What went in lies at the end, unless another process has appended since.
  const std::optional<ContentStamp> now = contentStamp();
  if (written > 0 && now.has_value()) truncate(now->size - written);
  return false;
}

// A removed file's name is gone at once: identityAt already finds it absent.
bool File::isDeletePending() const { return false; }

void File::close() {
  if (!isOpen()) return;
  // Linux releases the descriptor even when close reports EINTR: never retry.
  ::close(static_cast<int>(handle_));
  handle_ = closedHandle;
}

// Reading a whole file.

std::optional<File::ContentStamp> File::contentStamp() const {
  struct stat status {};
  if (!isOpen() || ::fstat(static_cast<int>(handle_), &status) != 0) return std::nullopt;
  return ContentStamp{static_cast<std::int64_t>(status.st_size),
                      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

File::ReadFailure File::lastReadFailure() {
  const int error = errno;
  // A part of the path that is a file, not a folder, leaves no room for one.
  if (error == ENOENT || error == ENOTDIR) return {ReadFailure::Kind::missing, {}};
  // The thread-safe reading of strerror.
  return {ReadFailure::Kind::other, std::generic_category().message(error)};
}

}  // namespace platform
