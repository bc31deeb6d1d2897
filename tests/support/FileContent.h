#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/Utf8Path.h"

// Every byte of the file; empty when it cannot be read.
inline std::string contentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string contentOf(const std::string& utf8Path) { return contentOf(pathOf(utf8Path)); }

// Creates or empties the file, then writes the bytes untranslated.
inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline void writeFile(const std::string& utf8Path, const std::string& bytes) { writeFile(pathOf(utf8Path), bytes); }
