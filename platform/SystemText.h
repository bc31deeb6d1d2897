#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text the user wrote, in UTF-8: valid UTF-8 stays as it is; other text is,
// on Windows, text in the ANSI code page, which older tools and editors
// write, and elsewhere, where no such encoding is assumed, the bytes as they
// are.
std::string utf8FromSystemText(std::string_view text);

}  // namespace platform
