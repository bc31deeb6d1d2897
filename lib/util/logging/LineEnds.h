#pragma once

#include <string_view>

// The text without the CR LF pairs at its start and its end, however many;
// a lone CR or LF stays.
constexpr std::string_view withoutLineEndPairs(std::string_view text) {
  while (text.starts_with("\r\n")) text.remove_prefix(2);
  while (text.ends_with("\r\n")) text.remove_suffix(2);
  return text;
}
