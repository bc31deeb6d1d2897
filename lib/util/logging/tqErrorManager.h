#pragma once

#include <cstdint>
#include <string_view>

#include "lib/lang/tqObject.h"

class tqException;

// Where handlers report their own failures: the console.
class tqErrorManager : public tqObject {
 public:
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // Writes the line "tqErrorManager: " code ": " message, then the
  // exception's stack trace.
  virtual void error(std::string_view message, const tqException& exception, std::int64_t code) const;
};
