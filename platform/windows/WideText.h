#pragma once

// Implementation details of the Windows platform layer only.
// The wide API is used throughout so that non-ASCII paths work whatever the
// ANSI code page; the rest of the system sees UTF-8.

#include <string>
#include <string_view>

namespace platform::windows {

std::string toUtf8(std::wstring_view wide);
// Bytes that are not valid UTF-8 become U+FFFD: text in another encoding is
// made UTF-8 before it reaches the platform (utf8FromSystemText).
std::wstring toWide(std::string_view utf8);
std::wstring ansiToWide(std::string_view ansi);

}  // namespace platform::windows
