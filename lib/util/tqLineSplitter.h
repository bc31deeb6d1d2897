#pragma once

#include <functional>
#include <string>
#include <string_view>

// Splits bytes into lines, fed in pieces of any size: the one rule of line
// ends for every text file the system reads. A line ends at LF, at CR LF or at
// a lone CR, and the end is not part of the line; the last line needs no end.
// Bytes pass unchanged: no encoding, no byte-order mark handling.
class tqLineSplitter {
 public:
  using LineSink = std::function<void(std::string_view line)>;

  // Hands `onLine` every line that `piece` completes, in order. A line that
  // lies whole in `piece` is handed without a copy.
  void feed(std::string_view piece, const LineSink& onLine);
  // After the last piece: hands over the line still open, if any.
  void finish(const LineSink& onLine);

 private:
  std::string pendingLine_;
  // The last piece ended in CR: an LF that comes first in the next one
  // belongs to that line end.
  bool afterCarriageReturn_ = false;
};

// Every line of `bytes`, in order.
void forEachLine(std::string_view bytes, const tqLineSplitter::LineSink& onLine);
