#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lib/util/tqCollection.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqTemplateName.h"

// An indexed sequence: duplicates allowed, indexes 0-based. Appending, size
// and reading by index take constant time.
template <typename Element>
class tqList final : public tqCollection<Element> {
  using Rules = tqElementRules<Element>;
  using tqCollection<Element>::elements_;
  using tqCollection<Element>::holds;

 public:
  static constexpr std::string_view templateName = "tqList";
  using Name = tqTemplateName<templateName, Rules::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqCollection<Element>::descriptor};

  std::string className() const override { return std::string(Name::className); }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  // Inserts a copy before the element at `index`; at index size it appends.
  // False, changing nothing, for any other index.
  virtual bool addAt(std::int64_t index, const Element& element) {
    if (index == this->size()) return this->add(element);
    if (!holds(index)) return false;
    elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(index), element);
    return true;
  }
  // Inserts the elements of `other` in their order, the first at `index`.
  // False, changing nothing, when the index lies outside 0 .. size or `other`
  // is empty.
  virtual bool addAllAt(std::int64_t index, const tqCollection<Element>& other) {
    if (index < 0 || index > this->size() || other.isEmpty()) return false;
    const std::int64_t count = other.size();
    for (std::int64_t offset = 0; offset < count; ++offset) addAt(index + offset, other.at(offset));
    return true;
  }
  // A copy of the element at `index`; the empty value when there is none.
  virtual Element get(std::int64_t index) const {
    if (!holds(index)) return Rules::emptyValue();
    return elements_[static_cast<std::size_t>(index)];
  }
  // -1 when no element is equal.
  virtual std::int64_t indexOf(const Element& element) const {
    const std::size_t place = this->firstEqual(element);
    return place == elements_.size() ? -1 : static_cast<std::int64_t>(place);
  }
  // -1 when no element is equal.
  virtual std::int64_t lastIndexOf(const Element& element) const {
    for (std::size_t place = elements_.size(); place > 0; --place) {
      if (Rules::equal(elements_[place - 1], element)) return static_cast<std::int64_t>(place - 1);
    }
    return -1;
  }
  // Replaces the element at `index` and answers the old one; the empty value,
  // changing nothing, when there is no such index.
  virtual Element set(std::int64_t index, const Element& element) {
    if (!holds(index)) return Rules::emptyValue();
    Element& stored = elements_[static_cast<std::size_t>(index)];
    Element old = stored;
    stored = element;
    return old;
  }
  // Copies of the elements from index `from` to index `to`, both included;
  // empty when no index qualifies.
  virtual tqList subList(std::int64_t from, std::int64_t to) const {
    tqList part;
    const std::int64_t first = std::max<std::int64_t>(from, 0);
    const std::int64_t last = std::min<std::int64_t>(to, this->size() - 1);
    for (std::int64_t index = first; index <= last; ++index) {
      part.elements_.push_back(elements_[static_cast<std::size_t>(index)]);
    }
    return part;
  }
};
