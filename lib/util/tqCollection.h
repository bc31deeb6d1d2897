#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqIterator.h"
#include "lib/util/tqTemplateName.h"

// Elements kept as copies in insertion order; lists and sets build on it.
// Elements compare and print through tqElementRules of the element type.
// Operations that find nothing to do answer false, -1 or the element type's
// empty value, and change nothing.
template <typename Element>
class tqCollection : public tqObject {
  using Rules = tqElementRules<Element>;

 public:
  static constexpr std::string_view templateName = "tqCollection";
  using Name = tqTemplateName<templateName, Rules::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqObject::descriptor};

  tqCollection() = default;
  // Copies every element: two collections never share storage.
  tqCollection(const tqCollection&) = default;
  tqCollection(tqCollection&&) noexcept = default;
  tqCollection& operator=(const tqCollection&) = default;
  tqCollection& operator=(tqCollection&&) noexcept = default;

  std::string className() const override { return std::string(Name::className); }
  // Built from where the elements lie, so it differs between runs.
  std::int64_t hashCode() const override {
    const std::uint64_t count = elements_.size();
    std::uint64_t hash = 1;
    for (const Element& element : elements_) {
      hash = 31 * hash + reinterpret_cast<std::uintptr_t>(&element) / count;
    }
    return static_cast<std::int64_t>(hash);
  }
  // "[a, b]"; "[]" when empty.
  std::string toString() const override {
    std::string text = "[";
    for (std::size_t at = 0; at < elements_.size(); ++at) {
      if (at > 0) text += ", ";
      text += Rules::text(elements_[at]);
    }
    return text + "]";
  }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  ~tqCollection() override = default;

  // Read-only walks for C++ code, `for (const Element& element : collection)`,
  // in insertion order; valid until the collection changes.
  auto begin() const { return elements_.cbegin(); }
  auto end() const { return elements_.cend(); }

  // Appends a copy.
  virtual bool add(const Element& element) {
    elements_.push_back(element);
    return true;
  }
  // Offers each element of `other` to add, so a set keeps out what it holds.
  // False when `other` is empty.
  virtual bool addAll(const tqCollection& other) {
    if (other.elements_.empty()) return false;
    // By index: adding a collection to itself must not read past a reallocation.
    const std::size_t count = other.elements_.size();
    for (std::size_t at = 0; at < count; ++at) add(other.elements_[at]);
    return true;
  }
  virtual void clear() { elements_.clear(); }
  virtual bool contains(const Element& element) const { return firstEqual(element) < elements_.size(); }
  // True for an empty `other`.
  virtual bool containsAll(const tqCollection& other) const {
    return std::all_of(other.elements_.begin(), other.elements_.end(),
                       [this](const Element& element) { return contains(element); });
  }
  // Equal when both print the same text, whatever their classes.
  virtual bool equalsCollection(const tqCollection& other) const { return toString() == other.toString(); }
  virtual bool isEmpty() const { return elements_.empty(); }
  // The iterator refers to this collection and must not outlive it. A
  // collection answered by value (a map's keySet, entrySet or values) is a
  // temporary: keep it in a variable first, `tqSet<Key> keys = map.keySet();
  // tqIterator<Key> walk = keys.iterator();`.
  virtual tqIterator<Element> iterator() & { return tqIterator<Element>(*this); }
  // `map.keySet().iterator()` would read freed memory once the statement ends.
  tqIterator<Element> iterator() && = delete;
  // The removed element; the empty value when there is no such index.
  virtual Element removeAt(std::int64_t index) {
    if (!holds(index)) return Rules::emptyValue();
    const auto place = elements_.begin() + static_cast<std::ptrdiff_t>(index);
    Element removed = std::move(*place);
    elements_.erase(place);
    return removed;
  }
  // Removes the first equal element; false when there is none.
  virtual bool remove(const Element& element) {
    const std::size_t place = firstEqual(element);
    if (place == elements_.size()) return false;
    elements_.erase(elements_.begin() + static_cast<std::ptrdiff_t>(place));
    return true;
  }
  // For each element of `other`, removes the first equal one here. False,
  // changing nothing, when either collection is empty.
  virtual bool removeAll(const tqCollection& other) {
    if (elements_.empty() || other.elements_.empty()) return false;
    if (&other == this) {
      elements_.clear();
      return true;
    }
    for (const Element& unwanted : other.elements_) remove(unwanted);
    return true;
  }
  // Keeps only what `other` contains. False, changing nothing, when either
  // collection is empty: an empty `other` does not empty this one.
  virtual bool retainAll(const tqCollection& other) {
    if (elements_.empty() || other.elements_.empty()) return false;
    if (&other == this) return true;
    std::erase_if(elements_, [&other](const Element& element) { return !other.contains(element); });
    return true;
  }
  virtual std::int64_t size() const { return static_cast<std::int64_t>(elements_.size()); }
  // Replaces `array` with copies of the elements in order. False, leaving
  // `array` untouched, when the collection is empty.
  virtual bool toArray(std::vector<Element>& array) const {
    if (elements_.empty()) return false;
    array = elements_;
    return true;
  }
  virtual std::int64_t toInteger() const { return hashCode(); }
  virtual std::string toText() const { return toString(); }
  // Empties this collection, then addAll of `other`; answers addAll's result.
  virtual bool assign(const tqCollection& other) {
    clear();
    return addAll(other);
  }
  // The stored element itself; the index must lie in 0 .. size - 1.
  virtual Element& at(std::int64_t index) { return elements_[static_cast<std::size_t>(index)]; }
  const Element& at(std::int64_t index) const { return elements_[static_cast<std::size_t>(index)]; }

 protected:
  bool holds(std::int64_t index) const {
    return index >= 0 && static_cast<std::uint64_t>(index) < elements_.size();
  }

  // Position of the first element equal to `element`; the size when there is none.
  std::size_t firstEqual(const Element& element) const {
    const auto place = std::find_if(elements_.begin(), elements_.end(),
                                    [&element](const Element& stored) { return Rules::equal(stored, element); });
    return static_cast<std::size_t>(place - elements_.begin());
  }

  std::vector<Element> elements_;
};
