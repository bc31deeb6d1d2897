#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/Paths.h"
#include "tests/support/FileContent.h"
#include "tests/support/UniqueName.h"
#include "tests/support/Utf8Path.h"

// A ".properties" file beside the test executable, where bundles are looked
// for, under a base name of its own; removed when the object goes.
class BundleFile {
 public:
  explicit BundleFile(const std::string& purpose, const std::string& locale = "")
      : baseName_(uniqueName(purpose)),
        fileName_(baseName_ + (locale.empty() ? "" : "_" + locale) + ".properties"),
        path_(platform::executableDirectory() + platform::pathSeparator() + fileName_) {}
  BundleFile(const BundleFile&) = delete;
  BundleFile& operator=(const BundleFile&) = delete;
  ~BundleFile() {
    std::error_code ignored;
    std::filesystem::remove(pathOf(path_), ignored);
  }

  void write(const std::string& bytes) const { writeFile(path_, bytes); }
  // A folder with the file's name in its place.
  void makeFolder() const { std::filesystem::create_directory(pathOf(path_)); }
  const std::string& baseName() const { return baseName_; }
  const std::string& fileName() const { return fileName_; }

 private:
  std::string baseName_;
  std::string fileName_;
  std::string path_;
};
