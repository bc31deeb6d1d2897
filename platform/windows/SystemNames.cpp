#include "platform/SystemNames.h"

#include <windows.h>

#include <string>

#include "platform/windows/WideText.h"

namespace platform {

bool isUserAccountName(std::string_view name) {
  if (name.empty() || name.find('\\') != std::string_view::npos) return false;
  // Qualified with the computer's name, the look-up stays on this computer:
  // a bare name may be asked of the domain's controllers, over the network.
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(computer, &computerLength)) return false;
  const std::wstring wide = std::wstring(computer, computerLength) + L"\\" + windows::toWide(name);
  DWORD sidSize = 0;
  DWORD domainSize = 0;
  SID_NAME_USE use{};
  // The first call only measures.
  LookupAccountNameW(nullptr, wide.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
  if (sidSize == 0) return false;
  std::string sid(sidSize, '\0');
  std::wstring domain(domainSize, L'\0');
  if (!LookupAccountNameW(nullptr, wide.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use)) {
    return false;
  }
  return use == SidTypeUser;
}

bool isExecutableFile(std::string_view utf8Path) {
  const DWORD attributes = GetFileAttributesW(windows::toWide(utf8Path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool shellChoosesInterpreter() { return false; }

}  // namespace platform
