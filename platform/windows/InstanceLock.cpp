#include "platform/InstanceLock.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/windows/WideText.h"

namespace platform {

namespace {

// The name the system resolves the folder to, through subst drives,
// junctions, links and short names; empty when it cannot open the folder.
std::wstring finalFolderName(const std::wstring& folder) {
  // FILE_FLAG_BACKUP_SEMANTICS opens a folder; no access needed to ask its name.
  const HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::wstring name(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
  if (length >= name.size()) {
    name.resize(length);
    length = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
  }
  CloseHandle(handle);
  name.resize(length < name.size() ? length : 0);
  // "\\?\C:\plandek" and "\\?\UNC\server\share" back to their usual forms.
  constexpr std::wstring_view uncPrefix = L"\\\\?\\UNC\\";
  constexpr std::wstring_view longPrefix = L"\\\\?\\";
  if (name.starts_with(uncPrefix)) return L"\\\\" + name.substr(uncPrefix.size());
  if (name.starts_with(longPrefix)) return name.substr(longPrefix.size());
  return name;
}

// The folder's full path as the file system compares names: without a
// trailing separator, "." and ".." resolved, in upper case.
std::wstring comparableFolderName(const std::string& folder) {
  const std::wstring wide = windows::toWide(folder);
  std::wstring full = finalFolderName(wide);
  if (full.empty()) {
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    full.assign(needed, L'\0');
    const DWORD length = needed == 0 ? 0 : GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    full.resize(length > 0 && length < needed ? length : 0);
  }
  if (full.empty()) full = wide;
  // "C:\" keeps its separator, "C:\plandek\" does not.
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  if (!full.empty()) CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return full;
}

// A mutex's name may hold no backslash and is limited to MAX_PATH characters,
// while a path may be longer: the name carries a 64-bit FNV-1a hash of the
// path instead. "Global\" rather than "Local\": a plandek started by the
// system (a task as SYSTEM, a service) and one started in a signed-in
// session must see each other.
std::wstring mutexNameFor(const std::string& folder) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (const wchar_t unit : comparableFolderName(folder)) {
    hash = (hash ^ static_cast<std::uint16_t>(unit)) * 0x100000001b3u;
  }
  wchar_t digits[17];
  std::swprintf(digits, std::size(digits), L"%016llx", static_cast<unsigned long long>(hash));
  return std::wstring(L"Global\\plandek-") + digits;
}

}  // namespace

// The lock is the named mutex's existence, not its ownership, which belongs
// to a thread. The system closes the handle when the process ends, however it
// ends, and the name goes with the last handle. Not inheritable, so commands
// started meanwhile do not hold it.
struct InstanceLock::Handle {
  HANDLE mutex = nullptr;
  Outcome outcome = Outcome::unavailable;
};

InstanceLock::InstanceLock(const std::string& folder) : handle_(std::make_unique<Handle>()) {
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexNameFor(folder).c_str());
  const DWORD error = GetLastError();
  if (mutex == nullptr) {
    // Another user's plandek made it, and its default security keeps others out.
    if (error == ERROR_ACCESS_DENIED) handle_->outcome = Outcome::heldElsewhere;
    return;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    handle_->outcome = Outcome::heldElsewhere;
    return;
  }
  handle_->mutex = mutex;
  handle_->outcome = Outcome::taken;
}

InstanceLock::~InstanceLock() {
  if (handle_->mutex != nullptr) CloseHandle(handle_->mutex);
}

InstanceLock::Outcome InstanceLock::outcome() const { return handle_->outcome; }

}  // namespace platform
