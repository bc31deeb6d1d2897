#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/lang/tqInteger.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqTemplateName.h"

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

// The one thing a pointer element type supplies: the name of what it points
// at. For a list of tqHandler pointers:
//   template <> struct tqPointeeName<tqHandler> {
//     static constexpr std::string_view name = "tqHandler";
//   };
template <typename Pointee>
struct tqPointeeName;

// Pointer elements are stored as they are; a container never frees what they
// point at. Their literal reads "tqList(tqHandler, Ptr)".
template <typename Pointee>
struct tqElementRules<Pointee*> {
  static constexpr std::string_view pointerMark = ", Ptr";
  static constexpr std::string_view name = tqJoinedText<tqPointeeName<Pointee>::name, pointerMark>::value;
  static bool equal(const Pointee* left, const Pointee* right) { return left == right; }
  static std::string text(const Pointee* element) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(element));
  }
  static Pointee* emptyValue() { return nullptr; }
};
