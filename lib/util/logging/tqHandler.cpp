#include "lib/util/logging/tqHandler.h"

#include "lib/util/logging/tqLogRecord.h"
#include "platform/Console.h"

const tqTypeDescriptor tqHandler::descriptor{"9TQHANDLER", &tqObject::descriptor};

tqHandler::tqHandler(const tqHandler& other) : tqObject(other), encoding_(other.encoding_), level_(other.level_) {}

tqHandler& tqHandler::operator=(const tqHandler& other) {
  encoding_ = other.encoding_;
  level_ = other.level_;
  return *this;
}

std::string tqHandler::toString() const { return {}; }

const tqTypeDescriptor& tqHandler::typeDescriptor() const { return descriptor; }

void tqHandler::close() {}

void tqHandler::flush() {}

tqString tqHandler::getEncoding() const { return encoding_; }

tqErrorManager tqHandler::getErrorManager() const { return errorManager_; }

tqFilter tqHandler::getFilter() const { return filter_; }

tqFormatter tqHandler::getFormatter() const { return formatter_; }

tqLevel tqHandler::getLevel() const { return level_; }

bool tqHandler::isLoggable(const tqLogRecord&) const { return true; }

bool tqHandler::passes(const tqLogRecord& record) const {
  return record.getLevel().intValue() >= level_.intValue() && isLoggable(record);
}

void tqHandler::publish(const tqLogRecord& record) {
  if (!passes(record)) return;
  platform::writeConsole(formatter_.getHead(this) + formatter_.format(record) + formatter_.getTail(this) + "\r\n");
}

void tqHandler::setEncoding(std::string_view encoding) { encoding_ = tqString(encoding); }

void tqHandler::setErrorManager(const tqErrorManager&) {}

void tqHandler::setFilter(const tqFilter&) {}

void tqHandler::setFormatter(const tqFormatter&) {}

void tqHandler::setLevel(const tqLevel& level) { level_ = level; }

bool tqHandler::equalsHandler(const tqHandler& other) const { return toString() == other.toString(); }

std::string tqHandler::toText() const { return toString(); }

void tqHandler::reportError(std::string_view message, const tqException& exception, std::int64_t code) const {
  errorManager_.error(message, exception, code);
}
