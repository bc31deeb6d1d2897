#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "tests/support/UniqueName.h"
#include "tests/support/Utf8Path.h"

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& purpose)
      : path_(std::filesystem::temp_directory_path() / uniqueName(purpose + "-")) {
    std::filesystem::create_directories(path_);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  // Errors are ignored here: a command a test started may still hold a file.
  ~TemporaryFolder() { remove(); }

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` (UTF-8) inside the folder, in UTF-8 as the library takes paths.
  std::string file(const std::string& name) const { return utf8(path_ / pathOf(name)); }

  // Removes the folder and its content now; what kept any of it there.
  std::error_code remove() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    return error;
  }

 private:
  std::filesystem::path path_;
};
