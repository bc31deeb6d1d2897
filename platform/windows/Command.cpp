#include "platform/Command.h"

#include <windows.h>

#include <string>

#include "platform/windows/PreparedEnvironment.h"
#include "platform/windows/WideText.h"

namespace platform {

namespace {

std::wstring commandInterpreter() {
  const DWORD size = GetEnvironmentVariableW(L"ComSpec", nullptr, 0);
  if (size > 1) {
    std::wstring path(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"ComSpec", path.data(), size);
    if (length > 0 && length < size) {
      path.resize(length);
      return path;
    }
  }
  // The system's own copy, never one that lies in the working directory.
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return L"cmd.exe";
  folder.resize(length);
  return folder + L"\\cmd.exe";
}

}  // namespace

bool runCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  if (commandLine.find('\0') != std::string_view::npos) return false;
  // cmd.exe drops the first and the last double quote of what follows /c, so
  // a command that itself begins with a quoted program path arrives intact.
  std::wstring line = L"\"";
  line.append(commandInterpreter()).append(L"\" /c \"").append(windows::textToWide(commandLine)).append(L"\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const CommandEnvironment::Prepared* prepared = environment.prepared();
  // CreateProcessW only reads the block; null is the daemon's own environment.
  void* block = prepared != nullptr ? const_cast<wchar_t*>(prepared->block.c_str()) : nullptr;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                      block, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace platform
