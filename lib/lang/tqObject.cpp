#include "lib/lang/tqObject.h"

const tqTypeDescriptor tqObject::rootDescriptor{"6OBJECT", nullptr};
const tqTypeDescriptor tqObject::descriptor{"8TQOBJECT", &tqObject::rootDescriptor};

bool tqObject::equals(const tqObject& other) const { return this == &other; }

std::string tqObject::className() const {
  const std::string_view name = typeDescriptor().typeName;
  const std::size_t firstLetter = name.find_first_not_of("0123456789");
  return firstLetter == std::string_view::npos ? std::string() : std::string(name.substr(firstLetter));
}

std::int64_t tqObject::hashCode() const { return static_cast<std::int64_t>(identity()); }

std::string tqObject::toString() const {
  // Formats the identity itself, not hashCode: an override of hashCode must not change it.
  return className() + "@" + std::to_string(identity());
}

tqObject tqObject::asObject() const { return tqObject(*this); }

const tqTypeDescriptor& tqObject::typeDescriptor() const { return descriptor; }

std::uint64_t tqObject::identity() const {
  return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(this));
}
