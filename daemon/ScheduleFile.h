#pragma once

#include <string>
#include <string_view>

#include "daemon/ScheduleLoader.h"
#include "lib/lang/tqTypes.h"
#include "lib/security/tqMessageDigest.h"
#include "lib/util/tqMap.h"

// The schedule file, watched through the MD5 digest of its content. A file
// that is missing, unreadable or empty has the empty digest and reads as a
// file without lines.
class ScheduleFile {
 public:
  // The name is taken as it is, so a name without a folder is looked for in
  // the working directory.
  explicit ScheduleFile(std::string_view fileName);

  // True, noting the new digest, when the file's digest differs from the last
  // one noted (at first, the empty digest).
  bool hasChanged();
  LoadedSchedule load() const;

 private:
  tqMap<String, String> macros_;
  std::string fileName_;
  tqMessageDigest digest_;
  std::string lastDigest_;
};
