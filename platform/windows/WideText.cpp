#include "platform/windows/WideText.h"

#include <windows.h>

namespace platform::windows {

namespace {

std::wstring wideOf(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int textLength = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), textLength, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), textLength, wide.data(), length);
  return wide;
}

}  // namespace

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

std::wstring toWide(std::string_view utf8) { return wideOf(CP_UTF8, utf8); }

std::wstring ansiToWide(std::string_view ansi) { return wideOf(CP_ACP, ansi); }

}  // namespace platform::windows
