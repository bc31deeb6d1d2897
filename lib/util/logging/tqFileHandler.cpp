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
  if (file_.isOpen() && isGoneFromItsName()) reopen();
  if (headPending_) {
    headPending_ = false;
    writeOut(asLine(formatter_.getHead(this)) + line);
    return;
  }
  writeOut(line);
}

std::string tqFileHandler::toText() const { return {}; }

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
  headPending_ = true;
  openedIdentity_ = file_.identity();
}

void tqFileHandler::reportOpenFailure(platform::File::OpenError error) {
  if (error == platform::File::OpenError::noFreeHandle) {
    reportError("Open error", tqException("File handle error"), openErrorCode);
  }
  reportError("Open error", tqException("Open error"), openErrorCode);
}

void tqFileHandler::writeOut(std::string_view text) {
  // A failed write has nowhere to be reported: the log is where reports go.
  if (file_.isOpen()) {
    file_.write(text);
  } else if (writesToConsole_) {
    platform::writeConsole(text);
  }
}
