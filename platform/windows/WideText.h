#pragma once

// Implementation details of the Windows platform layer only.
// The wide API is used throughout so that non-ASCII paths work whatever the
// ANSI code page; the rest of the system sees UTF-8.

#include <string>
#include <string_view>

namespace platform::windows {

std::string toUtf8(std::wstring_view wide);
std::wstring toWide(std::string_view utf8);
// Text the user wrote: UTF-8 when its bytes are valid UTF-8, otherwise text
// in the ANSI code page, which older tools and editors write.
std::wstring textToWide(std::string_view text);

}  // namespace platform::windows
