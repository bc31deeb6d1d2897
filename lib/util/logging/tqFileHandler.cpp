#include "lib/util/logging/tqFileHandler.h"

#include "lib/lang/tqException.h"
#include "lib/util/logging/LineEnds.h"
#include "platform/Console.h"

const tqTypeDescriptor tqFileHandler::descriptor{"13TQFILEHANDLER", &tqHandler::descriptor};

namespace {

std::string asLine(std::string_view text) {
  std::string line(withoutLineEndPairs(text));
  line.append("\r\n");
  return line;
}

}  // namespace

tqFileHandler::tqFileHandler(std::string_view pattern) : tqFileHandler(pattern, 0, 0, true) {}

tqFileHandler::tqFileHandler(std::string_view pattern, std::int64_t /*limit*/, std::int64_t /*count*/,
                             bool append)
    : pattern_(pattern), append_(append) {
  file_ = append_ ? platform::File::openForAppending(pattern_.view())
                  : platform::File::openForWriting(pattern_.view());
  if (file_.isOpen()) {
    headPending_ = true;
    openedIdentity_ = file_.identity();
    return;
  }
  writesToConsole_ = file_.openError() == platform::File::OpenError::noFreeHandle;
  reportOpenFailure(file_.openError());
}

tqFileHandler::~tqFileHandler() {
  flush();
  close();
}

const tqTypeDescriptor& tqFileHandler::typeDescriptor() const { return descriptor; }

void tqFileHandler::close() {
  const std::lock_guard lock(mutex_);
  if (closed_) return;
  writeOut(asLine(formatter_.getTail(this)));
  file_.close();
  writesToConsole_ = false;
  closed_ = true;
}

void tqFileHandler::flush() {}

void tqFileHandler::publish(const tqLogRecord& record) {
  if (!passes(record)) return;
  // Formatted before the lock: only the write itself is serialised.
  const std::string line = asLine(formatter_.format(record));
  const std::lock_guard lock(mutex_);
  followTheName();
  if (headPending_) {
    // The empty line goes out with its record or waits for the next one.
    if (writeOut(asLine(formatter_.getHead(this)) + line)) headPending_ = false;
    return;
  }
  writeOut(line);
}

std::string tqFileHandler::toText() const { return {}; }

void tqFileHandler::followTheName() {
  if (file_.isOpen() && file_.isDeletePending()) {
    // The name goes only with the last handle on the file, and until then no
    // new file can be made there: this handle must go first.
    file_.close();
    deletedFileClosed_ = true;
  }
  if (deletedFileClosed_ || (file_.isOpen() && isGoneFromItsName())) reopen();
}

bool tqFileHandler::isGoneFromItsName() const {
  const platform::File::NameLookup atName = platform::File::identityAt(pattern_.view());
  switch (atName.outcome) {
    case platform::File::NameLookup::Outcome::absent:
      return true;
    case platform::File::NameLookup::Outcome::found:
      return openedIdentity_.has_value() && atName.identity != *openedIdentity_;
    case platform::File::NameLookup::Outcome::unknown:
      // The file open is still the best guess: opening afresh would add an
      // empty line or a console report to every record.
      return false;
  }
  return false;
}

void tqFileHandler::reopen() {
  platform::File reopened = platform::File::openForAppending(pattern_.view());
  if (!reopened.isOpen()) {
    // The file left behind is all there is to write to.
    reportOpenFailure(reopened.openError());
    return;
  }
  file_ = std::move(reopened);
  deletedFileClosed_ = false;
  headPending_ = true;
  openedIdentity_ = file_.identity();
}

void tqFileHandler::reportOpenFailure(platform::File::OpenError error) {
  if (error == platform::File::OpenError::noFreeHandle) {
    reportError("Open error", tqException("File handle error"), openErrorCode);
  }
  reportError("Open error", tqException("Open error"), openErrorCode);
}

bool tqFileHandler::writeOut(std::string_view text) {
  if (!file_.isOpen()) {
    if (writesToConsole_) platform::writeConsole(text);
    return writesToConsole_;
  }
  // A write the disk had room for only in part would leave a torn record,
  // which the next one written would join.
  if (file_.appendWhole(text)) {
    writeFailing_ = false;
    return true;
  }
  if (!writeFailing_) {
    writeFailing_ = true;
    reportError("Write error", tqException("Write error"), writeErrorCode);
  }
  return false;
}
