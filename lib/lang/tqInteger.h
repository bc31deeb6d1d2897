#pragma once

#include <cstdint>
#include <string>

#include "lib/lang/tqObject.h"

// A boxed signed 32-bit value. Containers compare boxed values by intValue;
// equals stays identity.
class tqInteger : public tqObject {
 public:
  tqInteger() = default;
  // Keeps the low 32 bits.
  explicit tqInteger(std::int64_t value);

  // Decimal, one blank before a value of 0 or more: " 5", "-7".
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  void assign(const tqInteger& other);
  std::int64_t intValue() const;
  float floatValue() const;
  // The text of toString without a virtual call, for the containers.
  std::string toText() const;

 private:
  std::int32_t value_ = 0;
};
