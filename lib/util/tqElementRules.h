#pragma once

#include <string>
#include <string_view>

#include "lib/lang/tqInteger.h"
#include "lib/lang/tqTypes.h"

// What a container needs to know about its element type: how two elements
// compare, how one reads as text, what stands for "no element", and the name
// that goes into the container's class literal ("tqList(String)"). Adding an
// element type means writing one specialisation of this template.
template <typename Element>
struct tqElementRules;

template <>
struct tqElementRules<String> {
  static constexpr std::string_view name = "String";
  static bool equal(const String& left, const String& right) { return left == right; }
  static std::string text(const String& element) { return element; }
  static String emptyValue() { return {}; }
};

template <>
struct tqElementRules<Short> {
  static constexpr std::string_view name = "Short";
  static bool equal(Short left, Short right) { return left == right; }
  // No leading blank, unlike a boxed tqInteger.
  static std::string text(Short element) { return std::to_string(element); }
  static Short emptyValue() { return 0; }
};

template <>
struct tqElementRules<tqInteger> {
  static constexpr std::string_view name = "tqInteger";
  static bool equal(const tqInteger& left, const tqInteger& right) {
    return left.intValue() == right.intValue();
  }
  static std::string text(const tqInteger& element) { return element.toText(); }
  static tqInteger emptyValue() { return tqInteger(); }
};
