#include "lib/lang/tqStackTraceElement.h"

const tqTypeDescriptor tqStackTraceElement::descriptor{"19TQSTACKTRACEELEMENT", &tqObject::descriptor};

tqStackTraceElement::tqStackTraceElement(std::string_view declaringClass, std::string_view methodName,
                                         std::string_view fileName, std::int64_t lineNumber)
    : declaringClass_(declaringClass), methodName_(methodName), fileName_(fileName), lineNumber_(lineNumber) {}

std::string tqStackTraceElement::toString() const {
  std::string text = getDeclaringClass();
  text.append(".").append(methodName_).append("(");
  text.append(fileName_.empty() ? "Unknown Source" : fileName_);
  if (lineNumber_ != 0) text.append(":").append(std::to_string(lineNumber_));
  return text.append(")");
}

const tqTypeDescriptor& tqStackTraceElement::typeDescriptor() const { return descriptor; }

bool tqStackTraceElement::equalsElement(const tqStackTraceElement& other) const {
  return toString() == other.toString();
}

String tqStackTraceElement::getDeclaringClass() const { return declaringClass_; }

String tqStackTraceElement::getFileName() const { return fileName_; }

std::int64_t tqStackTraceElement::getLineNumber() const { return lineNumber_; }

String tqStackTraceElement::getMethodName() const { return methodName_; }

bool tqStackTraceElement::constantTrue() const { return true; }

std::string tqStackTraceElement::toText() const { return toString(); }
