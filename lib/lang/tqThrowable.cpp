#include "lib/lang/tqThrowable.h"

#include "platform/Console.h"

const tqTypeDescriptor tqThrowable::descriptor{"11TQTHROWABLE", &tqObject::descriptor};

tqThrowable::tqThrowable(const tqThrowable* cause) : cause_(cause) {
  if (cause != nullptr) message_ = cause->toString();
}

// A throwable that is its own cause hands over a reference to itself.
tqThrowable::tqThrowable(const tqThrowable& other)
    : tqObject(other), message_(other.message_), cause_(other.cause_ ? other.cause_ : &other) {
  stackTrace_.assign(other.stackTrace_);
}

tqThrowable& tqThrowable::operator=(const tqThrowable& other) {
  if (this != &other) {
    message_ = other.message_;
    cause_ = other.cause_ ? other.cause_ : &other;
    stackTrace_.assign(other.stackTrace_);
  }
  return *this;
}

tqThrowable::tqThrowable(std::string_view message, const tqThrowable* cause)
    : message_(message), cause_(cause) {}

std::string tqThrowable::toString() const {
  const String message = getLocalizedMessage();
  return message.empty() ? std::string() : "tqThrowable: " + message;
}

const tqTypeDescriptor& tqThrowable::typeDescriptor() const { return descriptor; }

tqThrowable tqThrowable::wrap() const { return tqThrowable(this); }

tqThrowable tqThrowable::getCause() const {
  const tqThrowable& source = cause_ ? *cause_ : *this;
  // Never a named local: copying a throwable that is its own cause would
  // leave the copy referring to the local.
  return tqThrowable(source.wrap().toString(), &source);
}

String tqThrowable::getLocalizedMessage() const { return getMessage(); }

String tqThrowable::getMessage() const { return message_; }

void tqThrowable::getStackTrace(std::vector<tqStackTraceElement>& array) const { stackTrace_.toArray(array); }

std::string tqThrowable::stackTraceText() const {
  std::string text = message_ + "\r\n";
  for (std::int64_t index = 0; index < stackTrace_.size(); ++index) {
    text += stackTrace_.at(index).toText() + "\r\n";
  }
  return text;
}

tqThrowable tqThrowable::initCause(const tqThrowable* cause) {
  cause_ = cause == this ? nullptr : cause;
  return wrap();
}

void tqThrowable::printStackTrace() const { platform::writeConsole(stackTraceText() + "\r\n"); }

void tqThrowable::setStackTrace(const std::vector<tqStackTraceElement>& array) {
  stackTrace_.clear();
  for (const tqStackTraceElement& element : array) stackTrace_.add(element);
}

std::string tqThrowable::toText() const { return toString(); }
