#include "platform/windows/WideText.h"

#include <windows.h>

namespace platform::windows {

std::string toUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int wideLength = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring toWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int utf8Length = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Length, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), utf8Length, wide.data(), length);
  return wide;
}

std::wstring textToWide(std::string_view text) {
  if (text.empty()) return {};
  const int textLength = static_cast<int>(text.size());
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int length = MultiByteToWideChar(codePage, flags, text.data(), textLength, nullptr, 0);
  if (length <= 0) {
    codePage = CP_ACP;
    flags = 0;
    length = MultiByteToWideChar(codePage, flags, text.data(), textLength, nullptr, 0);
    if (length <= 0) return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), textLength, wide.data(), length);
  return wide;
}

}  // namespace platform::windows
