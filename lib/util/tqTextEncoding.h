#pragma once

#include <string>
#include <string_view>

// A text file's bytes as UTF-8 text, as editors save them: a UTF-8
// byte-order mark is dropped, and a file that begins with a UTF-16 byte-order
// mark (little- or big-endian) is decoded into `decoded`, a lone surrogate
// and an odd last byte becoming U+FFFD. Other bytes are taken as they are.
// The answer refers to `bytes` or to `decoded`.
std::string_view textOfFile(std::string_view bytes, std::string& decoded);

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates,
// nothing beyond U+10FFFF.
bool isUtf8(std::string_view text);
