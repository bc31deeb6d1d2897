#include "platform/Console.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/windows/WideText.h"

namespace platform {

using windows::toUtf8;
using windows::toWide;

void writeConsole(std::string_view text) {
  // A GUI-subsystem program has no console; its standard handle is only valid
  // when the starter redirected it, and then WriteFile is the way to reach it.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode)) {
    // A console window shows bytes in its own code page: UTF-8 goes there as
    // UTF-16. A file or pipe gets the UTF-8 bytes.
    std::wstring wide = toWide(text);
    std::wstring_view rest = wide;
    while (!rest.empty()) {
      DWORD written = 0;
      const DWORD chunk = rest.size() > 0x8000u ? 0x8000u : static_cast<DWORD>(rest.size());
      if (!WriteConsoleW(output, rest.data(), chunk, &written, nullptr) || written == 0) return;
      rest.remove_prefix(written);
    }
    return;
  }
  while (!text.empty()) {
    DWORD written = 0;
    const DWORD chunk = text.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(text.size());
    if (!WriteFile(output, text.data(), chunk, &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
  FlushFileBuffers(output);
}

std::vector<std::string> programArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* const words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int index = 1; index < count; ++index) arguments.push_back(toUtf8(words[index]));
  LocalFree(words);
  return arguments;
}

}  // namespace platform
