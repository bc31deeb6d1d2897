#include "lib/lang/tqInteger.h"

const tqTypeDescriptor tqInteger::descriptor{"9TQINTEGER", &tqObject::descriptor};

tqInteger::tqInteger(std::int64_t value)
    : value_(static_cast<std::int32_t>(static_cast<std::uint32_t>(value))) {}

std::string tqInteger::toString() const { return toText(); }

const tqTypeDescriptor& tqInteger::typeDescriptor() const { return descriptor; }

void tqInteger::assign(const tqInteger& other) { value_ = other.value_; }

std::int64_t tqInteger::intValue() const { return value_; }

float tqInteger::floatValue() const { return static_cast<float>(value_); }

std::string tqInteger::toText() const {
  // Values of 0 or more keep a blank where the sign would stand; texts written
  // by earlier versions rely on that layout.
  if (value_ < 0) return std::to_string(value_);
  std::string text(1, ' ');
  text.append(std::to_string(value_));
  return text;
}
