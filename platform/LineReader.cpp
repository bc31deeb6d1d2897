#include "platform/LineReader.h"

#include <algorithm>

namespace platform {

LineReader::LineReader(std::string_view utf8Path) : file_(File::openForReading(utf8Path)) {}

bool LineReader::refill() {
  const std::int64_t count = file_.read(buffer_.data(), static_cast<std::int64_t>(buffer_.size()));
  position_ = 0;
  filled_ = count > 0 ? static_cast<std::size_t>(count) : 0;
  return filled_ > 0;
}

bool LineReader::readLine(std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    if (position_ == filled_ && !refill()) return any;
    if (skipLineFeed_) {
      skipLineFeed_ = false;
      if (buffer_[position_] == '\n') {
        ++position_;
        continue;
      }
    }
    any = true;
    const auto begin = buffer_.begin() + static_cast<std::ptrdiff_t>(position_);
    const auto end = buffer_.begin() + static_cast<std::ptrdiff_t>(filled_);
    const auto lineEnd = std::find_if(begin, end, [](char byte) { return byte == '\n' || byte == '\r'; });
    line.append(begin, lineEnd);
    position_ = static_cast<std::size_t>(lineEnd - buffer_.begin());
    if (lineEnd != end) {
      skipLineFeed_ = *lineEnd == '\r';
      ++position_;
      return true;
    }
  }
}

}  // namespace platform
