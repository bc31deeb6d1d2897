#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/File.h"

namespace platform {

// Reads a file as text, one line at a time. A line ends at LF, at CR LF or at
// a lone CR, and the end is not part of the line; the last line needs no end.
// Bytes pass unchanged: no encoding, no byte-order mark handling.
class LineReader {
 public:
  // A reader of the named file (UTF-8); see isOpen.
  explicit LineReader(std::string_view utf8Path);

  bool isOpen() const { return file_.isOpen(); }
  // Why the file could not be opened; none for a file that was.
  File::OpenError openError() const { return file_.openError(); }
  // Replaces `line` with the next line; false, leaving it empty, at the end
  // of the file, on a read error or for a file that could not be opened.
  bool readLine(std::string& line);

 private:
  // Refills the buffer; false at the end of the file or on an error.
  bool refill();

  File file_;
  std::array<char, 8192> buffer_{};
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  // The last line ended in CR: an LF that comes next belongs to that end.
  bool skipLineFeed_ = false;
};

}  // namespace platform
