#include "daemon/ScheduleFile.h"

#include <cstdint>
#include <utility>

#include "platform/File.h"

namespace plandek {

namespace {

constexpr std::string_view inUseRefusal = "in use by another program";

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

// Why a file that could not be read is refused; empty when it is missing or
// held by another program for a moment.
std::string refusalOf(const platform::File::ReadFailure& failure) {
  if (failure.kind != platform::File::ReadFailure::Kind::other) return {};
  return std::string("not readable: ").append(failure.text);
}

}  // namespace

// One read of the file, and whether it changed while it was read.
struct ScheduleFile::Reading {
  std::string content;
  std::string refusal;
  bool inUse = false;
  // Empty when nothing was read: a missing file, a refused one, no regular file.
  std::optional<platform::File::ContentStamp> stamp;
  bool changedWhileRead = false;

  bool agreesWith(const Reading& other) const {
    return !changedWhileRead && content == other.content && refusal == other.refusal && inUse == other.inUse &&
           stamp == other.stamp;
  }
};

ScheduleFile::ScheduleFile(std::string_view fileName, Pause pause)
    : fileName_(fileName), pause_(std::move(pause)), digest_("MD5") {}

ScheduleFile::Reading ScheduleFile::read() const {
  using platform::File;
  Reading reading;
  const auto failed = [&reading](const File::ReadFailure& failure) {
    reading.content.clear();
    reading.inUse = failure.kind == File::ReadFailure::Kind::heldByAnotherProgram;
    reading.refusal = refusalOf(failure);
    return std::move(reading);
  };
  File file = File::openForReading(fileName_);
  if (!file.isOpen()) return failed(File::lastReadFailure());
  // A pipe would keep the scheduler waiting, a device might never end.
  if (!file.isRegularFile()) return reading;
  if (std::string refusal = refusalOf(file.writeExposure()); !refusal.empty()) {
    reading.refusal = std::move(refusal);
    return reading;
  }
  reading.stamp = file.contentStamp();
  char chunk[64 * 1024];
  for (;;) {
    const std::int64_t count = file.read(chunk, sizeof chunk);
    if (count < 0) return failed(File::lastReadFailure());
    if (count == 0) break;
    reading.content.append(chunk, static_cast<std::size_t>(count));
  }
  reading.changedWhileRead = file.contentStamp() != reading.stamp;
  return reading;
}

std::optional<ScheduleFile::Change> ScheduleFile::readIfChanged() {
  Reading reading = read();
  const bool seenAsLoaded = !reading.inUse && digest_.digestText(reading.content) == lastDigest_ &&
                            reading.refusal == lastRefusal_;
  if (seenAsLoaded || (reading.inUse && toldInUse_)) {
    if (!reading.inUse) toldInUse_ = false;
    return std::nullopt;
  }
  // A file written in pieces may be read half-written: load it only once two
  // reads a pause apart agree. Not an age of the file against the clock, which
  // a faked or a corrected clock would make meaningless.
  for (int reread = 0; reread < mostRereads && pause_(settlingPause); ++reread) {
    Reading again = read();
    const bool settled = again.agreesWith(reading) && !again.inUse;
    reading = std::move(again);
    if (settled) break;
  }
  if (reading.inUse) {
    // The entries loaded before stay; it is tried again at the next pass.
    toldInUse_ = true;
    return Change{.bytes = {}, .refusal = std::string(inUseRefusal), .keepsEntries = true};
  }
  toldInUse_ = false;
  std::string currentDigest = digest_.digestText(reading.content);
  // The loop may have come back to what is loaded.
  if (currentDigest == lastDigest_ && reading.refusal == lastRefusal_) return std::nullopt;
  lastDigest_ = std::move(currentDigest);
  lastRefusal_ = reading.refusal;
  // The bytes digested, not a later read, so that an edit between two reads
  // cannot make a reload of bytes other than the ones that were digested.
  return Change{.bytes = std::move(reading.content), .refusal = std::move(reading.refusal), .keepsEntries = false};
}

}  // namespace plandek
