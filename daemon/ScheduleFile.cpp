#include "daemon/ScheduleFile.h"

#include <cstdint>
#include <utility>

#include "platform/File.h"

namespace {

// Why a schedule file with this exposure is refused; empty when it is not.
std::string refusalOf(const platform::File::WriteExposure& exposure) {
  switch (exposure.reason) {
    case platform::File::WriteExposure::Reason::none:
      return {};
    case platform::File::WriteExposure::Reason::ownedByAnotherUser:
      return "owned by user " + std::to_string(exposure.owner);
    case platform::File::WriteExposure::Reason::writableByEveryUser:
      return "writable by every user";
  }
  return {};
}

struct ScheduleBytes {
  std::string content;
  std::string refusal;
};

// Empty when the file cannot be opened or read to its end, or is no regular
// file; empty with a refusal when others could change it.
ScheduleBytes bytesOf(std::string_view fileName) {
  platform::File file = platform::File::openForReading(fileName);
  // A pipe would keep the scheduler waiting, a device might never end.
  if (!file.isRegularFile()) return {};
  if (std::string refusal = refusalOf(file.writeExposure()); !refusal.empty()) return {{}, std::move(refusal)};
  std::string content;
  char chunk[64 * 1024];
  for (;;) {
    const std::int64_t count = file.read(chunk, sizeof chunk);
    if (count < 0) return {};
    if (count == 0) return {std::move(content), {}};
    content.append(chunk, static_cast<std::size_t>(count));
  }
}

}  // namespace

ScheduleFile::ScheduleFile(std::string_view fileName) : fileName_(fileName), digest_("MD5") {}

std::optional<LoadedSchedule> ScheduleFile::readIfChanged() {
  // Digested and parsed from one read, so that an edit between two reads
  // cannot make a reload of bytes other than the ones that were digested.
  ScheduleBytes bytes = bytesOf(fileName_);
  std::string currentDigest = digest_.digestText(bytes.content);
  if (currentDigest == lastDigest_ && bytes.refusal == lastRefusal_) return std::nullopt;
  lastDigest_ = std::move(currentDigest);
  lastRefusal_ = bytes.refusal;
  LoadedSchedule loaded = readSchedule(bytes.content);
  loaded.refusal = std::move(bytes.refusal);
  return loaded;
}
