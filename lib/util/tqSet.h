#pragma once

#include <string>
#include <string_view>

#include "lib/util/tqCollection.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqTemplateName.h"

// A collection that holds each element at most once, in insertion order. Of
// several equal elements offered, the first keeps its place.
template <typename Element>
class tqSet final : public tqCollection<Element> {
  using Rules = tqElementRules<Element>;

 public:
  static constexpr std::string_view templateName = "tqSet";
  using Name = tqTemplateName<templateName, Rules::name>;
  static constexpr tqTypeDescriptor descriptor{Name::typeName, &tqCollection<Element>::descriptor};

  std::string className() const override { return std::string(Name::className); }
  const tqTypeDescriptor& typeDescriptor() const override { return descriptor; }

  // False, changing nothing, when an equal element is already held.
  bool add(const Element& element) override {
    if (this->contains(element)) return false;
    return tqCollection<Element>::add(element);
  }
};
