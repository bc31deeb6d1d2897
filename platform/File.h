#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

namespace platform {

// An open file of the operating system, closed when the object goes. A file
// that could not be opened is a closed object: every operation on it fails.
class File {
 public:
  File() = default;
  File(File&& other) noexcept : handle_(std::exchange(other.handle_, closedHandle)) {}
  File& operator=(File&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = std::exchange(other.handle_, closedHandle);
    }
    return *this;
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File() { close(); }

  // The named file (UTF-8) for binary reading from its start, shared with
  // other readers and writers, never created; a closed object when it cannot
  // be opened.
  static File openForReading(std::string_view utf8Path);

  bool isOpen() const { return handle_ != closedHandle; }
  // Reads up to `size` bytes: the number read, 0 at the end of the file, -1
  // on an error or a closed file.
  std::int64_t read(void* buffer, std::int64_t size);
  void close();

 private:
  // A file descriptor or a Windows HANDLE, which both fit here; -1 is closed
  // (INVALID_HANDLE_VALUE on Windows).
  using NativeHandle = std::intptr_t;
  static constexpr NativeHandle closedHandle = -1;

  explicit File(NativeHandle handle) : handle_(handle) {}

  NativeHandle handle_ = closedHandle;
};

}  // namespace platform
