#include "lib/util/tqLineSplitter.h"

void tqLineSplitter::feed(std::string_view piece, const LineSink& onLine) {
  if (afterCarriageReturn_ && !piece.empty()) {
    afterCarriageReturn_ = false;
    if (piece.front() == '\n') piece.remove_prefix(1);
  }
  for (;;) {
    const std::size_t end = piece.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      pendingLine_.append(piece);
      return;
    }
    if (pendingLine_.empty()) {
      onLine(piece.substr(0, end));
    } else {
      pendingLine_.append(piece.substr(0, end));
      onLine(pendingLine_);
      pendingLine_.clear();
    }
    std::size_t next = end + 1;
    if (piece[end] == '\r') {
      if (next == piece.size()) afterCarriageReturn_ = true;
      else if (piece[next] == '\n') ++next;
    }
    piece.remove_prefix(next);
  }
}

void tqLineSplitter::finish(const LineSink& onLine) {
  if (!pendingLine_.empty()) onLine(pendingLine_);
  pendingLine_.clear();
  afterCarriageReturn_ = false;
}

void forEachLine(std::string_view bytes, const tqLineSplitter::LineSink& onLine) {
  tqLineSplitter splitter;
  splitter.feed(bytes, onLine);
  splitter.finish(onLine);
}
