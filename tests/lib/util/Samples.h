#pragma once

#include <initializer_list>
#include <vector>

#include "lib/lang/tqInteger.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqElementRules.h"

// Four distinct values of each element type the suites run over. None is the
// type's empty value, so an answer of "empty" is never a sample by accident.
template <typename Element>
struct Samples;

template <>
struct Samples<String> {
  static std::vector<String> values() { return {"a", "b", "c", "d"}; }
};

template <>
struct Samples<Short> {
  static std::vector<Short> values() { return {-1, 7, 300, -32768}; }
};

template <>
struct Samples<tqInteger> {
  static std::vector<tqInteger> values() {
    return {tqInteger(5), tqInteger(-7), tqInteger(2147483647), tqInteger(-2147483648LL)};
  }
};

template <typename Element>
bool isEmptyValue(const Element& element) {
  return tqElementRules<Element>::equal(element, tqElementRules<Element>::emptyValue());
}

template <typename Element>
bool sameElement(const Element& left, const Element& right) {
  return tqElementRules<Element>::equal(left, right);
}

// A container of the samples picked by position: {0, 2} holds the first and the third.
template <typename Container, typename Element>
Container containerOf(const std::vector<Element>& samples, std::initializer_list<int> picks) {
  Container container;
  for (int pick : picks) container.add(samples[static_cast<std::size_t>(pick)]);
  return container;
}
