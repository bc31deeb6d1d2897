#pragma once

#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqTemplateName.h"

template <typename Key, typename Value>
class tqMap;

// One key and its value, both owned copies.
template <typename Key, typename Value>
class tqMapEntry : public tqObject {
  using KeyRules = tqElementRules<Key>;
  using ValueRules = tqElementRules<Value>;

 public:
  static constexpr std::string_view templateName = "tqMapEntry";
  using Name = tqTemplateName<templateName, KeyRules::name, ValueRules::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqObject::descriptor};

  tqMapEntry() : key_(KeyRules::emptyValue()), value_(ValueRules::emptyValue()) {}
  tqMapEntry(const Key& key, const Value& value) : key_(key), value_(value) {}

  std::string className() const override { return std::string(Name::className); }
  // Key, "=", the value's text: "k= 5" for a tqInteger 5.
  std::string toString() const override { return KeyRules::text(key_) + "=" + ValueRules::text(value_); }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  // Equal keys and equal values, compared by content.
  virtual bool equalsEntry(const tqMapEntry& other) const {
    return KeyRules::equal(key_, other.key_) && ValueRules::equal(value_, other.value_);
  }
  virtual Key getKey() const { return key_; }
  virtual Value getValue() const { return value_; }
  // Answers the value it replaces.
  virtual Value setValue(const Value& value) {
    Value old = value_;
    value_ = value;
    return old;
  }
  virtual std::string toText() const { return toString(); }
  // The stored value itself.
  virtual Value& valueRef() { return value_; }

 private:
  // The map reads keys in place while it searches.
  friend class tqMap<Key, Value>;

  Key key_;
  Value value_;
};

// Entries in a collection compare by identity: an entry passed in never
// equals a stored one, even when its key and value are equal.
template <typename Key, typename Value>
struct tqElementRules<tqMapEntry<Key, Value>> {
  using Entry = tqMapEntry<Key, Value>;
  static constexpr std::string_view name =
      tqJoinedText<Entry::templateName, tqElementRules<Key>::name, tqElementRules<Value>::name>::value;
  static bool equal(const Entry& stored, const Entry& other) { return stored.equals(other); }
  static std::string text(const Entry& element) { return element.toText(); }
  static Entry emptyValue() { return Entry(); }
};
