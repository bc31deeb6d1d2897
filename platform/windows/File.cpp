#include "platform/File.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace platform {

namespace {

constexpr std::int64_t largestRead = std::int64_t{1} << 30;

HANDLE nativeOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

File File::openForReading(std::string_view utf8Path) {
  const std::wstring path = windows::toWide(utf8Path);
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return File();
  // Other programs may go on reading, writing and even deleting the file.
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return File();
  return File(reinterpret_cast<std::intptr_t>(handle));
}

std::int64_t File::read(void* buffer, std::int64_t size) {
  if (!isOpen() || size < 0) return -1;
  const auto request = static_cast<DWORD>(size < largestRead ? size : largestRead);
  DWORD count = 0;
  if (!ReadFile(nativeOf(handle_), buffer, request, &count, nullptr)) return -1;
  return count;
}

void File::close() {
  if (!isOpen()) return;
  CloseHandle(nativeOf(handle_));
  handle_ = closedHandle;
}

}  // namespace platform
