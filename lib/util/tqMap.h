#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/util/tqCollection.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqMapEntry.h"
#include "lib/util/tqSet.h"
#include "lib/util/tqTemplateName.h"

// Keys with their values, in the order each key was first put. Keys are
// unique and compare by content (texts byte for byte). Looking for a missing
// key answers the value type's empty value and changes nothing.
template <typename Key, typename Value>
class tqMap : public tqObject {
  using KeyRules = tqElementRules<Key>;
  using ValueRules = tqElementRules<Value>;
  using Entry = tqMapEntry<Key, Value>;

 public:
  static constexpr std::string_view templateName = "tqMap";
  using Name = tqTemplateName<templateName, KeyRules::name, ValueRules::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqObject::descriptor};

  tqMap() = default;
  // Copies every entry: two maps never share storage.
  tqMap(const tqMap&) = default;
  tqMap(tqMap&&) noexcept = default;
  tqMap& operator=(const tqMap&) = default;
  tqMap& operator=(tqMap&&) noexcept = default;

  std::string className() const override { return std::string(Name::className); }
  // Built from where the entries lie, so it differs between runs.
  std::int64_t hashCode() const override {
    const std::uint64_t count = entries_.size();
    std::uint64_t hash = 1;
    for (const Entry& entry : entries_) hash = 31 * hash + reinterpret_cast<std::uintptr_t>(&entry) / count;
    return static_cast<std::int64_t>(hash);
  }
  // "{k=v, k=v}"; "{}" when empty.
  std::string toString() const override {
    std::string text = "{";
    for (std::size_t at = 0; at < entries_.size(); ++at) {
      if (at > 0) text += ", ";
      text += entries_[at].toText();
    }
    return text + "}";
  }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  ~tqMap() override = default;

  virtual void clear() { entries_.clear(); }
  virtual bool containsKey(const Key& key) const { return placeOf(key) < entries_.size(); }
  virtual bool containsValue(const Value& value) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&value](const Entry& entry) { return ValueRules::equal(entry.value_, value); });
  }
  // Copies of the entries in map order, as a new set: keep it in a variable
  // before taking its iterator.
  virtual tqSet<Entry> entrySet() const {
    tqSet<Entry> entries;
    for (const Entry& entry : entries_) entries.add(entry);
    return entries;
  }
  // Equal when both print the same text.
  virtual bool equalsMap(const tqMap& other) const { return toString() == other.toString(); }
  // A copy of the value under `key`; the empty value when the key is missing.
  virtual Value get(const Key& key) const {
    const std::size_t place = placeOf(key);
    return place == entries_.size() ? ValueRules::emptyValue() : entries_[place].value_;
  }
  virtual bool isEmpty() const { return entries_.empty(); }
  // Copies of the keys in map order, as a new set: keep it in a variable
  // before taking its iterator.
  virtual tqSet<Key> keySet() const {
    tqSet<Key> keys;
    for (const Entry& entry : entries_) keys.add(entry.key_);
    return keys;
  }
  // A present key keeps its place and its old value is answered; a new key
  // goes last and the empty value is answered.
  virtual Value put(const Key& key, const Value& value) {
    const std::size_t place = placeOf(key);
    if (place == entries_.size()) {
      entries_.emplace_back(key, value);
      return ValueRules::emptyValue();
    }
    return entries_[place].setValue(value);
  }
  // Puts every entry of `other` in its order.
  virtual void putAll(const tqMap& other) {
    // By index: putting a map into itself only rewrites values in place.
    for (std::size_t at = 0; at < other.entries_.size(); ++at) {
      put(other.entries_[at].key_, other.entries_[at].value_);
    }
  }
  // The removed value; the empty value, changing nothing, when the key is missing.
  virtual Value remove(const Key& key) {
    const std::size_t place = placeOf(key);
    if (place == entries_.size()) return ValueRules::emptyValue();
    Value removed = entries_[place].value_;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(place));
    return removed;
  }
  virtual std::int64_t size() const { return static_cast<std::int64_t>(entries_.size()); }
  // Copies of the values in map order, duplicates kept, as a new collection:
  // keep it in a variable before taking its iterator.
  virtual tqCollection<Value> values() const {
    tqCollection<Value> values;
    for (const Entry& entry : entries_) values.add(entry.value_);
    return values;
  }
  virtual std::int64_t toInteger() const { return hashCode(); }
  virtual std::string toText() const { return toString(); }
  // Empties this map, then putAll of `other`.
  virtual void assign(const tqMap& other) {
    clear();
    putAll(other);
  }
  // The stored value under `key`, for reading or writing in place. A missing
  // key is put first with the empty value.
  virtual Value& at(const Key& key) {
    const std::size_t place = placeOf(key);
    if (place == entries_.size()) entries_.emplace_back(key, ValueRules::emptyValue());
    return entries_[place].value_;
  }

 private:
  // Position of the entry with `key`; the size when there is none.
  std::size_t placeOf(const Key& key) const {
    const auto place = std::find_if(entries_.begin(), entries_.end(),
                                    [&key](const Entry& entry) { return KeyRules::equal(entry.key_, key); });
    return static_cast<std::size_t>(place - entries_.begin());
  }

  std::vector<Entry> entries_;
};
