#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& purpose)
      : path_(std::filesystem::temp_directory_path() / (purpose + "-" + std::to_string(std::random_device()()))) {
    std::filesystem::create_directories(path_);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, in UTF-8 as the library takes paths.
  std::string file(const std::string& name) const { return utf8(path_ / name); }

  static std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }

 private:
  std::filesystem::path path_;
};

// Every byte of the file; empty when it cannot be read.
inline std::string contentOf(const std::string& utf8Path) {
  std::ifstream in(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& utf8Path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end())), std::ios::binary) << bytes;
}
