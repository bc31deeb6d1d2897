#pragma once

#include <string>
#include <string_view>

namespace platform {

// Text the user wrote that is not UTF-8, in UTF-8: on Windows it is text in
// the ANSI code page, which older tools and editors write; elsewhere, where no
// such encoding is assumed, the bytes as they are. Whether text is UTF-8
// already is the caller's to tell (isUtf8): valid UTF-8 may read as other
// characters in the ANSI code page.
std::string utf8FromSystemText(std::string_view text);

}  // namespace platform
