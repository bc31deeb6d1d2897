#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "daemon/ScheduleLoader.h"
#include "lib/security/tqMessageDigest.h"

// The schedule file, watched through the MD5 digest of its content. A file
// that is missing, unreadable or empty, and anything but a regular file (a
// folder, a pipe, a device), has the empty digest and reads as a file without
// lines.
class ScheduleFile {
 public:
  // The name is taken as it is, so a name without a folder is looked for in
  // the working directory.
  explicit ScheduleFile(std::string_view fileName);

  // Reads the file once; when its digest differs from the last one noted (at
  // first, the empty digest), notes it and answers the entries of exactly
  // the bytes digested. Nothing when the digest is the same.
  std::optional<LoadedSchedule> readIfChanged();

 private:
  std::string fileName_;
  tqMessageDigest digest_;
  std::string lastDigest_;
};
