#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "lib/lang/tqString.h"
#include "lib/util/logging/tqHandler.h"
#include "platform/File.h"

// Writes records to a log file: an empty line before the first record after
// the file was opened, each record as its formatted lines, and an empty line
// when the handler closes. Every line ends with CR LF.
//
// Any number of threads may publish through one handler at once: each record
// reaches the file whole, in one write, never mixed with another, and is with
// the operating system before publish returns. The file is never inherited by
// processes this one starts. A record reaches the file whole or not at all:
// what a failed write (a full disk) left of it is cut away again, and the
// error manager says so once for each spell of failures ("tqErrorManager: 1:
// Write error"); the records after it go on as before, the empty line of an
// open still before the first one written. A log file removed, moved away or
// deleted while open is opened afresh at its name, for appending, before the
// next record; when the system cannot tell what is at the name, records go on
// into the file open.
class tqFileHandler : public tqHandler {
 public:
  // Appends to the file at `pattern`.
  explicit tqFileHandler(std::string_view pattern);
  // Appends to the file or, with `append` false, empties it first. The limit
  // and count are ignored: the file neither is capped nor rotates.
  // When the file cannot be opened the error manager says so on the console
  // ("tqErrorManager: 4: Open error") and the handler writes nothing; when the
  // system had no handle left at all, it writes to the console instead.
  tqFileHandler(std::string_view pattern, std::int64_t limit, std::int64_t count, bool append);
  tqFileHandler(const tqFileHandler&) = delete;
  tqFileHandler& operator=(const tqFileHandler&) = delete;
  // Closes the handler.
  ~tqFileHandler() override;

  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // Writes the tail and closes the file; nothing is written after it. A second
  // close does nothing.
  void close() override;
  // Nothing to do: publish hands every record to the system at once.
  void flush() override;
  void publish(const tqLogRecord& record) override;
  std::string toText() const override;

 private:
  // The codes the error manager reports failures with.
  static constexpr std::int64_t openErrorCode = 4;
  static constexpr std::int64_t writeErrorCode = 1;

  // Makes sure the file open is the one at the pattern before a record goes
  // out. The mutex must be held.
  void followTheName();
  // Whether the file open is no longer the one at the pattern: nothing is
  // there, or another file is. The mutex must be held.
  bool isGoneFromItsName() const;
  // Opens the file at the pattern again, in place of one no longer there; on
  // failure, reports it and keeps the old one. The mutex must be held.
  void reopen();
  void reportOpenFailure(platform::File::OpenError error);
  // Writes to wherever this handler writes, all of `text` or nothing of it;
  // false when nothing went out. The mutex must be held.
  bool writeOut(std::string_view text);

  tqString pattern_;
  bool append_;

  std::mutex mutex_;
  platform::File file_;
  // Noted at the open: one look at the name per record tells whether the file
  // is still there.
  std::optional<platform::File::Identity> openedIdentity_;
  // The system had no handle to give: records go to the console instead.
  bool writesToConsole_ = false;
  bool headPending_ = false;
  bool closed_ = false;
  // The last write failed: the next failure belongs to the same spell and is
  // not reported again.
  bool writeFailing_ = false;
  // The file open was deleted and closed: every record tries to open a new
  // one at the name until one opens.
  bool deletedFileClosed_ = false;
};
