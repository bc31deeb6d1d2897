#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A class's type record: its identifier in upper case preceded by the
// identifier's length ("8TQOBJECT"), and its base class's record.
struct tqTypeDescriptor {
  std::string_view typeName;
  const tqTypeDescriptor* base;
};

// Root of the library. Every library class keeps these five operations first,
// in this order. Equality here is identity: content comparisons are separate,
// non-virtual operations of the classes that need them.
class tqObject {
 public:
  tqObject() = default;
  tqObject(const tqObject&) = default;
  tqObject& operator=(const tqObject&) = default;
  virtual ~tqObject() = default;

  // True only when `other` is this very object.
  virtual bool equals(const tqObject& other) const;
  // The type name without its leading length digits: "TQOBJECT".
  virtual std::string className() const;
  // The object's identity.
  virtual std::int64_t hashCode() const;
  // className, "@", the identity as an unsigned decimal number.
  virtual std::string toString() const;
  // A plain object copied from this one's base part; it keeps nothing derived.
  virtual tqObject asObject() const;

  virtual const tqTypeDescriptor& typeDescriptor() const;

  static const tqTypeDescriptor rootDescriptor;
  static const tqTypeDescriptor descriptor;

 protected:
  // The number that tells this object from every other one alive.
  std::uint64_t identity() const;
};
