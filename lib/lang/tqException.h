#pragma once

#include <string>
#include <string_view>

#include "lib/lang/tqThrowable.h"

// A throwable that names itself an exception in its text form.
class tqException : public tqThrowable {
 public:
  tqException() = default;
  // Its own cause, empty stack trace.
  explicit tqException(std::string_view message);

  // "tqException: " and the message; the empty text for an empty message.
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;
};
