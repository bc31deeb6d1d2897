#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "daemon/ScheduleLoader.h"
#include "lib/security/tqMessageDigest.h"

// The schedule file, watched through the MD5 digest of its content. A file
// that is missing, unreadable or empty, and anything but a regular file (a
// folder, a pipe, a device), has the empty digest and reads as a file without
// lines. A file that users other than this process's own and root could
// change is refused, as a file without lines: "writable by every user",
// "owned by user 1001" (see platform::File::writeExposure).
class ScheduleFile {
 public:
  // The name is taken as it is, so a name without a folder is looked for in
  // the working directory.
  explicit ScheduleFile(std::string_view fileName);

  // Reads the file once; when its digest or its refusal differs from the last
  // one noted (at first, the empty digest and no refusal), notes them and
  // answers the entries of exactly the bytes digested, or the refusal. Nothing
  // when both are the same: a refusal is told once, until it changes.
  std::optional<LoadedSchedule> readIfChanged();

 private:
  std::string fileName_;
  tqMessageDigest digest_;
  std::string lastDigest_;
  std::string lastRefusal_;
};
