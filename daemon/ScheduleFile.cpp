#include "daemon/ScheduleFile.h"

#include <cstdint>
#include <utility>

#include "platform/File.h"

namespace {

// Empty when the file cannot be opened or read to its end, or is no regular
// file.
std::string contentOf(std::string_view fileName) {
  platform::File file = platform::File::openForReading(fileName);
  // A pipe would keep the scheduler waiting, a device might never end.
  if (!file.isRegularFile()) return {};
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

ScheduleFile::ScheduleFile(std::string_view fileName) : fileName_(fileName), digest_("MD5") {}

std::optional<LoadedSchedule> ScheduleFile::readIfChanged() {
  // Digested and parsed from one read, so that an edit between two reads
  // cannot make a reload of bytes other than the ones that were digested.
  const std::string content = contentOf(fileName_);
  std::string currentDigest = digest_.digestText(content);
  if (currentDigest == lastDigest_) return std::nullopt;
  lastDigest_ = std::move(currentDigest);
  return readSchedule(content);
}
