#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "lib/security/tqMessageDigest.h"

namespace plandek {

// The schedule file, watched through the MD5 digest of its content. A file
// that is missing or empty, and anything but a regular file (a folder, a
// pipe, a device), has the empty digest and reads as a file without lines. A
// file that users other than this process's own and root could change is
// refused, as a file without lines: "writable by every user", "owned by user
// 1001" (see platform::File::writeExposure); so is a file that cannot be read:
// "not readable: Permission denied". A file another program holds open
// without sharing it (Windows) is "in use by another program": the entries
// loaded before stay.
//
// A change is loaded only once the file has settled: two reads a pause apart
// that agree in size, time of last write and bytes, the later one not changed
// while it was read. No age of the file is compared with the clock: under a
// faked clock the file's times are still the real ones.
class ScheduleFile {
 public:
  // Waits the given elapsed time; false when a stop ended the wait.
  using Pause = std::function<bool(std::chrono::milliseconds)>;

  // The pause between two reads of a changed file.
  static constexpr std::chrono::milliseconds settlingPause{1000};
  // Reads after the first one, at most, before a file that keeps changing is
  // loaded as last read.
  static constexpr int mostRereads = 10;

  // What changed: the bytes to load, or why the file was refused as a whole.
  struct Change {
    // Empty with a refusal: a refused file is loaded as a file without lines.
    std::string bytes;
    // Empty when the file was not refused.
    std::string refusal;
    // With a refusal: the entries loaded before stay, as the file could not
    // be read for a moment.
    bool keepsEntries = false;
  };

  // The name is taken as it is, so a name without a folder is looked for in
  // the working directory.
  ScheduleFile(std::string_view fileName, Pause pause);

  // Reads the file; when its digest or its refusal differs from the last one
  // noted (at first, the empty digest and no refusal), reads it again after
  // pauses until it has settled, notes them and answers exactly the bytes
  // digested, or the refusal. A stop during a pause, or a file that has not
  // settled after mostRereads reads, answers the last read.
  // Nothing when both are the same: a refusal is told once, until it changes.
  // A file in use by another program is read again after each pause too, as
  // a hold of a moment (a virus scan, a backup) should cost nothing: still
  // held after mostRereads reads, it answers its refusal once, with
  // keepsEntries, and then nothing until it can be read again.
  std::optional<Change> readIfChanged();

 private:
  struct Reading;
  Reading read() const;

  std::string fileName_;
  Pause pause_;
  tqMessageDigest digest_;
  std::string lastDigest_;
  std::string lastRefusal_;
  bool toldInUse_ = false;
};

}  // namespace plandek
