#include "lib/util/tqLineReader.h"

#include <utility>

tqLineReader::tqLineReader(std::string_view utf8Path) : file_(platform::File::openForReading(utf8Path)) {}

bool tqLineReader::readLine(std::string& line) {
  line.clear();
  const auto keep = [this](std::string_view ready) { readyLines_.emplace_back(ready); };
  while (readyLines_.empty() && !atEnd_) {
    const std::int64_t count = file_.read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
    if (count > 0) {
      splitter_.feed(std::string_view(buffer_.data(), static_cast<std::size_t>(count)), keep);
    } else {
      // A read error ends the file where it happened.
      splitter_.finish(keep);
      atEnd_ = true;
      readError_ = count < 0;
    }
  }
  if (readyLines_.empty()) return false;
  line = std::move(readyLines_.front());
  readyLines_.pop_front();
  return true;
}
