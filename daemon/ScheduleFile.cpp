#include "daemon/ScheduleFile.h"

#include <cstdint>
#include <utility>

#include "platform/File.h"

namespace {

// Empty when the file cannot be opened or read.
std::string contentOf(std::string_view fileName) {
  platform::File file = platform::File::openForReading(fileName);
  std::string content;
  char chunk[64 * 1024];
  for (;;) {
    const std::int64_t count = file.read(chunk, sizeof chunk);
    if (count < 0) return {};
    if (count == 0) return content;
    content.append(chunk, static_cast<std::size_t>(count));
  }
}

}  // namespace

ScheduleFile::ScheduleFile(std::string_view fileName)
    : macros_(scheduleMacros()), fileName_(fileName), digest_("MD5") {}

bool ScheduleFile::hasChanged() {
  std::string currentDigest = digest_.digestFile(fileName_);
  if (currentDigest == lastDigest_) return false;
  lastDigest_ = std::move(currentDigest);
  return true;
}

LoadedSchedule ScheduleFile::load() const { return readSchedule(contentOf(fileName_), macros_); }
