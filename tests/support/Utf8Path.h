#pragma once

#include <filesystem>
#include <string>

// The library takes and gives paths as UTF-8 text. A plain std::string would
// pass to std::filesystem in the system's narrow encoding, which on Windows
// is not UTF-8, so these convert explicitly.
inline std::string utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path pathOf(const std::string& utf8Text) {
  return std::filesystem::path(std::u8string(utf8Text.begin(), utf8Text.end()));
}
