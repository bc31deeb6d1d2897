// tqString's split (all four forms), replace and toInt against plain
// reference implementations written straight from their definitions.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqString.h"

namespace {

// tqString texts end at their first zero byte.
std::string asText(std::string text) { return text.substr(0, text.find('\0')); }

bool sameBytesAt(const std::string& text, std::size_t at, const std::string& part) {
  if (at + part.size() > text.size()) return false;
  for (std::size_t offset = 0; offset < part.size(); ++offset) {
    if (text[at + offset] != part[offset]) return false;
  }
  return true;
}

// Byte by byte: a separator that matches while the limit allows opens a new
// field, every other byte joins the current one.
std::vector<std::string> referenceSplit(const std::string& text, const std::string& separator,
                                        bool limited, std::int64_t limit) {
  std::vector<std::string> fields(1);
  const auto allows = [&] {
    return !limited || limit <= 0 || static_cast<std::int64_t>(fields.size()) - 1 < limit - 1;
  };
  std::size_t at = 0;
  while (at < text.size()) {
    if (!separator.empty() && sameBytesAt(text, at, separator) && allows()) {
      fields.emplace_back();
      at += separator.size();
    } else {
      fields.back().push_back(text[at]);
      ++at;
    }
  }
  if (limited && limit == 0) {
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
  }
  return fields;
}

std::string referenceReplace(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return text;
  std::string result;
  std::size_t at = 0;
  while (at < text.size()) {
    if (sameBytesAt(text, at, from)) {
      result += to;
      at += from.size();
    } else {
      result.push_back(text[at]);
      ++at;
    }
  }
  return result;
}

bool isDigitOf(char byte, unsigned base, unsigned& digit) {
  const std::string_view digits = "0123456789ABCDEF";
  const std::string_view lower = "0123456789abcdef";
  for (unsigned value = 0; value < base; ++value) {
    if (byte == digits[value] || byte == lower[value]) {
      digit = value;
      return true;
    }
  }
  return false;
}

std::int64_t referenceToInt(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  if (at == text.size()) return 0;
  std::uint32_t value = 0;
  if (text[at] == '&' && text.size() - at >= 2) {
    unsigned base = 8;
    std::size_t digitsAt = at + 1;
    switch (text[at + 1]) {
      case 'H': case 'h': base = 16; digitsAt = at + 2; break;
      case 'O': case 'o': base = 8; digitsAt = at + 2; break;
      case 'B': case 'b': base = 2; digitsAt = at + 2; break;
      default: break;
    }
    unsigned digit = 0;
    for (std::size_t i = digitsAt; i < text.size() && isDigitOf(text[i], base, digit); ++i) {
      value = value * base + digit;
    }
    return static_cast<std::int32_t>(value);
  }
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::uint64_t magnitude = 0;
  bool beyond = false;
  unsigned digit = 0;
  for (; at < text.size() && isDigitOf(text[at], 10, digit); ++at) {
    if (!beyond) magnitude = magnitude * 10 + digit;
    if (magnitude > std::numeric_limits<std::uint32_t>::max()) beyond = true;
  }
  if (beyond) return static_cast<std::int32_t>(std::numeric_limits<std::uint32_t>::max());
  value = static_cast<std::uint32_t>(magnitude);
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

void requireSplitForms(const tqString& text, const tqString& separator, bool limited, std::int64_t limit) {
  const std::vector<std::string> expected =
      referenceSplit(text.toString(), separator.toString(), limited, limit);
  std::vector<std::string> plain = {"left over"};
  std::vector<tqString> strings = {tqString("left over")};
  const bool plainAny = limited ? text.split(separator, plain, limit) : text.split(separator, plain);
  const bool stringAny = limited ? text.split(separator, strings, limit) : text.split(separator, strings);
  if (plain != expected || plainAny != !expected.empty()) __builtin_trap();
  if (strings.size() != expected.size() || stringAny != !expected.empty()) __builtin_trap();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (strings[i].toString() != expected[i]) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  // Short separators and limits near the field counts are where split turns.
  const std::string separator = input.ConsumeRandomLengthString(4);
  const std::string to = input.ConsumeRandomLengthString(8);
  const std::int64_t limit = input.ConsumeIntegralInRange<std::int64_t>(-2, 8);
  const std::string raw = input.ConsumeRemainingBytesAsString();
  const tqString text(raw);

  requireSplitForms(text, tqString(separator), false, 0);
  requireSplitForms(text, tqString(separator), true, limit);

  const std::string replaced = text.replace(separator, to).toString();
  if (replaced != referenceReplace(asText(raw), asText(separator), asText(to))) __builtin_trap();

  if (text.toInt() != referenceToInt(asText(raw))) __builtin_trap();
  return 0;
}
