#include "lib/lang/tqException.h"

const tqTypeDescriptor tqException::descriptor{"11TQEXCEPTION", &tqThrowable::descriptor};

tqException::tqException(std::string_view message) { message_ = message; }

std::string tqException::toString() const {
  const String message = getLocalizedMessage();
  return message.empty() ? std::string() : "tqException: " + message;
}

const tqTypeDescriptor& tqException::typeDescriptor() const { return descriptor; }
