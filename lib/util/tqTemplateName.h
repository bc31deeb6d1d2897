#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// Names of the container templates are built at compile time from the names
// of their arguments, so a new element type never needs a hand-written class
// name. Each piece is a reference to a constant text with static storage.

// The pieces one after another: "tqHandler" and ", Ptr" give "tqHandler, Ptr".
template <const std::string_view&... Pieces>
class tqJoinedText {
  static constexpr std::size_t length = (Pieces.size() + ... + 0);
  static constexpr std::array<char, length> text = [] {
    std::array<char, length> joined{};
    std::size_t at = 0;
    for (std::string_view piece : {Pieces...}) {
      for (char letter : piece) joined[at++] = letter;
    }
    return joined;
  }();

 public:
  static constexpr std::string_view value{text.data(), length};
};

// The names of one instantiation of a template:
//   literal    "tqMap(String, tqInteger)"
//   className  "TQMAP(STRING, TQINTEGER)": the literal with a to z in upper case
//   typeName   "20TQMAPSTRINGTQINTEGER": the upper-case identifier without
//              brackets, commas and blanks, after its length in decimal digits
template <const std::string_view& Template, const std::string_view&... Arguments>
class tqTemplateName {
  static_assert(sizeof...(Arguments) > 0, "a template name has at least one argument");

  static constexpr char upper(char letter) {
    return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
  }
  static constexpr bool isSeparator(char letter) {
    return letter == '(' || letter == ')' || letter == ',' || letter == ' ';
  }

  static constexpr std::size_t literalLength =
      Template.size() + 2 + (Arguments.size() + ... + 0) + 2 * (sizeof...(Arguments) - 1);

  static constexpr std::array<char, literalLength> literalText = [] {
    std::array<char, literalLength> text{};
    std::size_t at = 0;
    const auto put = [&](std::string_view piece) {
      for (char letter : piece) text[at++] = letter;
    };
    put(Template);
    put("(");
    bool first = true;
    for (std::string_view argument : {Arguments...}) {
      if (!first) put(", ");
      put(argument);
      first = false;
    }
    put(")");
    return text;
  }();

  static constexpr std::array<char, literalLength> classNameText = [] {
    std::array<char, literalLength> text{};
    for (std::size_t at = 0; at < literalLength; ++at) text[at] = upper(literalText[at]);
    return text;
  }();

  static constexpr std::size_t identifierLength = [] {
    std::size_t count = 0;
    for (char letter : literalText) count += isSeparator(letter) ? 0 : 1;
    return count;
  }();

  static constexpr std::size_t digitCount = [] {
    std::size_t count = 1;
    for (std::size_t rest = identifierLength / 10; rest > 0; rest /= 10) ++count;
    return count;
  }();

  static constexpr std::array<char, digitCount + identifierLength> typeNameText = [] {
    std::array<char, digitCount + identifierLength> text{};
    std::size_t rest = identifierLength;
    for (std::size_t at = digitCount; at > 0; --at, rest /= 10) text[at - 1] = static_cast<char>('0' + rest % 10);
    std::size_t at = digitCount;
    for (char letter : literalText) {
      if (!isSeparator(letter)) text[at++] = upper(letter);
    }
    return text;
  }();

 public:
  static constexpr std::string_view literal{literalText.data(), literalLength};
  static constexpr std::string_view className{classNameText.data(), literalLength};
  static constexpr std::string_view typeName{typeNameText.data(), digitCount + identifierLength};
};
