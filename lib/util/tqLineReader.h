#pragma once

#include <array>
#include <deque>
#include <string>
#include <string_view>

#include "lib/util/tqLineSplitter.h"
#include "platform/File.h"

// Reads a file as text, one line at a time, with tqLineSplitter's line ends.
class tqLineReader {
 public:
  // A reader of the named file (UTF-8); see isOpen.
  explicit tqLineReader(std::string_view utf8Path);

  bool isOpen() const { return file_.isOpen(); }
  // Why the file could not be opened; none for a file that was.
  platform::File::OpenError openError() const { return file_.openError(); }
  // Replaces `line` with the next line; false, leaving it empty, at the end
  // of the file, on a read error or for a file that could not be opened.
  bool readLine(std::string& line);
  // Whether a read failed (a folder, an input/output error...): the lines
  // given then ended there, not at the end of the file.
  bool hasReadError() const { return readError_; }

 private:
  platform::File file_;
  std::array<char, 8192> buffer_{};
  tqLineSplitter splitter_;
  std::deque<std::string> readyLines_;
  bool atEnd_ = false;
  bool readError_ = false;
};
