#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"

// The library's owned byte string. Texts are bytes without an encoding and end
// at their first zero byte, as the zero-terminated texts they stand for did.
// Text arguments may be empty, and an empty argument behaves as an absent one.
class tqString : public tqObject {
 public:
  tqString() = default;
  // A null pointer gives the empty text. Constant expressions may build
  // strings, so that constants of the library need no start-up code.
  constexpr explicit tqString(const char* text) : text_(text ? text : "") {}
  constexpr explicit tqString(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}
  // The bytes [start, start + count) of `text`, both clipped to the text.
  tqString(std::string_view text, std::int64_t start, std::int64_t count);

  std::int64_t hashCode() const override;
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  std::int64_t length() const;
  bool isEmpty() const;
  // The text without a copy; valid until the string changes.
  std::string_view view() const;
  // A zero-terminated copy owned by the caller.
  std::unique_ptr<char[]> copyText() const;

  bool contentEquals(const tqString& other) const;
  // False for an empty prefix.
  bool startsWith(std::string_view prefix) const;
  // 1-based position of the first occurrence; 0 when there is none, -1 for an empty argument.
  std::int64_t indexOf(const tqString& text) const;
  std::int64_t indexOf(std::string_view text) const;
  // The 32-bit value of the text, "&H", "&O" and "&B" prefixes included; 0 when there is none.
  std::int64_t toInt() const;

  tqString concat(const tqString& other) const;
  tqString concat(std::string_view text) const;
  // Every occurrence of `from`, left to right, never overlapping and never
  // rescanned; an unchanged copy when either argument is empty.
  tqString replace(std::string_view from, std::string_view to) const;

  // Cuts the text at every occurrence of `separator` into `fields`, discarding
  // what they held. A positive limit caps the number of fields, the last one
  // keeping the rest; a limit of 0 also drops trailing empty fields; a negative
  // limit is no limit. True when at least one field results.
  bool split(const tqString& separator, std::vector<tqString>& fields) const;
  bool split(const tqString& separator, std::vector<std::string>& fields) const;
  bool split(const tqString& separator, std::vector<tqString>& fields, std::int64_t limit) const;
  bool split(const tqString& separator, std::vector<std::string>& fields, std::int64_t limit) const;

  // An empty text leaves the string as it was (the log formatter relies on it).
  void assign(std::string_view text);
  void assign(const tqString& other);
  void append(std::string_view text);

 private:
  std::string text_;
};
