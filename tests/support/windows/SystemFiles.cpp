#include "tests/support/SystemFiles.h"

#include <windows.h>

// Windows has no named pipes in the file system, no device that reads for
// ever, folder permissions in place of file modes, and no limit on a
// process's file sizes.

bool makeNamedPipe(const std::filesystem::path&) { return false; }

bool makeEndlessDeviceLink(const std::filesystem::path&) { return false; }

std::string nullDeviceName() { return "NUL"; }

bool hasFileModes() { return false; }

bool runsAsRoot() { return false; }

bool giveToUser(const std::filesystem::path&, std::uint32_t) { return false; }

bool runBoundByFileModes(const std::function<void()>&) { return false; }

std::shared_ptr<void> holdWithoutSharing(const std::filesystem::path& path) {
  const HANDLE handle =
      CreateFileW(path.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::shared_ptr<void>(handle, [](void* held) { CloseHandle(held); });
}
bool runWithFilesLimitedTo(std::int64_t, const std::function<void()>&) { return false; }
