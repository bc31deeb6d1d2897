#include "platform/Paths.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace platform {

std::string executableDirectory() {
  // GetModuleFileNameW truncates silently when the buffer is short: grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t lastBackslash = path.rfind(L'\\');
  if (lastBackslash == std::wstring::npos) return {};
  return windows::toUtf8(std::wstring_view(path).substr(0, lastBackslash));
}

std::string workingDirectory() {
  // The length asked for includes the terminating null; the length copied does not.
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, path.data());
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  return windows::toUtf8(path);
}

char pathSeparator() { return '\\'; }

}  // namespace platform
