#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqTemplateName.h"

template <typename Element>
class tqCollection;

// Walks the collection that made it from front to back, handing out copies.
// It owns nothing and stays valid while the collection lives and is changed
// only through it: take it from a collection held in a variable, never from a
// temporary such as `map.keySet()` (tqCollection refuses that at compile time).
template <typename Element>
class tqIterator : public tqObject {
 public:
  static constexpr std::string_view templateName = "tqIterator";
  using Name = tqTemplateName<templateName, tqElementRules<Element>::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqObject::descriptor};

  explicit tqIterator(tqCollection<Element>& collection) : collection_(&collection) {}

  std::string className() const override { return std::string(Name::className); }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  virtual bool hasNext() const { return upcoming_ < collection_->size(); }
  // A copy of the next element; call only while hasNext is true.
  virtual Element next() {
    current_ = upcoming_++;
    return collection_->at(current_);
  }
  // Removes the element next returned last; iteration goes on with the one
  // after it. Does nothing when next has not been called since the last remove.
  virtual void remove() {
    if (current_ < 0) return;
    collection_->removeAt(current_);
    upcoming_ = current_;
    current_ = -1;
  }

 private:
  tqCollection<Element>* collection_;
  std::int64_t current_ = -1;
  std::int64_t upcoming_ = 0;
};
