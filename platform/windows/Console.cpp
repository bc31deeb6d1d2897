#include "platform/Console.h"

#include <windows.h>

namespace platform {

void writeConsole(std::string_view text) {
  // A GUI-subsystem program has no console; its standard handle is only valid
  // when the starter redirected it, and then WriteFile is the way to reach it.
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  while (!text.empty()) {
    DWORD written = 0;
    const DWORD chunk = text.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(text.size());
    if (!WriteFile(output, text.data(), chunk, &written, nullptr) || written == 0) return;
    text.remove_prefix(written);
  }
  FlushFileBuffers(output);
}

}  // namespace platform
