#include "lib/lang/tqString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;
using Fields = std::vector<std::string>;

namespace {

struct SplitCase {
  std::string text;
  std::string separator;
  std::optional<std::int64_t> limit;
  Fields fields;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c) {
  return out << "'" << c.text << "' at '" << c.separator << "' limit "
             << (c.limit ? std::to_string(*c.limit) : "none");
}

const SplitCase splitCases[] = {
    {"a,b,,c,", ",", std::nullopt, {"a", "b", "", "c", ""}},
    {"a,b,,c,", ",", -1, {"a", "b", "", "c", ""}},
    {"a,b,,c,", ",", std::numeric_limits<std::int64_t>::min(), {"a", "b", "", "c", ""}},
    // Limit 0 drops trailing empty fields only.
    {"a,b,,c,", ",", 0, {"a", "b", "", "c"}},
    {",,a,,", ",", 0, {"", "", "a"}},
    {",,,", ",", 0, {}},
    // Once the limit is reached the rest, separators included, is the last field.
    {"a,b,,c,", ",", 2, {"a", "b,,c,"}},
    {"a,b,,c,", ",", 1, {"a,b,,c,"}},
    {"a,b", ",", 5, {"a", "b"}},
    {"x--y--z", "--", 2, {"x", "y--z"}},
    {"x--y--z", "--", std::nullopt, {"x", "y", "z"}},
    {"x--y--z--", "--", 0, {"x", "y", "z"}},
    // Matches never overlap and are found left to right.
    {"aaa", "aa", std::nullopt, {"", "a"}},
    {"aaaa", "aa", std::nullopt, {"", "", ""}},
    {"abab", "aba", std::nullopt, {"", "b"}},
    // A partial separator at the end is text.
    {"a-", "--", std::nullopt, {"a-"}},
    {"", ",", std::nullopt, {""}},
    {"", ",", 0, {}},
    {"", ",", 3, {""}},
    {"abc", ",", std::nullopt, {"abc"}},
    {"ABC", "b", std::nullopt, {"ABC"}},
    // The loader's cut: five fields and a command that keeps its blanks.
    {"*/5 * * * * echo a b", " ", 6, {"*/5", "*", "*", "*", "*", "echo a b"}},
    // An empty separator cannot advance: the whole text is one field.
    {"abc", "", std::nullopt, {"abc"}},
    {"", "", 0, {}},
};

}  // namespace

TEST(tqStringSplit, PlainTextFields) {
  for (const SplitCase& c : splitCases) {
    Fields fields{"left over"};
    const bool any = c.limit ? tqString(c.text).split(tqString(c.separator), fields, *c.limit)
                             : tqString(c.text).split(tqString(c.separator), fields);
    EXPECT_EQ(fields, c.fields) << c;
    EXPECT_EQ(any, !c.fields.empty()) << c;
  }
}

TEST(tqStringSplit, StringObjectFieldsMatchPlainTextFields) {
  for (const SplitCase& c : splitCases) {
    std::vector<tqString> fields(3);
    const bool any = c.limit ? tqString(c.text).split(tqString(c.separator), fields, *c.limit)
                             : tqString(c.text).split(tqString(c.separator), fields);
    Fields texts;
    for (const tqString& field : fields) texts.push_back(field.toString());
    EXPECT_EQ(texts, c.fields) << c;
    EXPECT_EQ(any, !c.fields.empty()) << c;
  }
}

TEST(tqStringReplace, Cases) {
  struct Case {
    std::string text, from, to, expected;
  };
  const Case cases[] = {
      {"a\t\tb", "\t", " ", "a  b"},
      // One pass: the inserted text is never scanned again.
      {"aab", "ab", "b", "ab"},
      {"aaaa", "aa", "a", "aa"},
      {"      x", "  ", " ", "   x"},
      {"abc", "x", "y", "abc"},
      {"@daily @daily", "@daily", "0 0 * * *", "0 0 * * * 0 0 * * *"},
      // An empty argument leaves the text unchanged; log messages rely on it.
      {"x{0}", "{0}", "", "x{0}"},
      {"abc", "", "x", "abc"},
      {"", "a", "b", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tqString(c.text).replace(c.from, c.to).toString(), c.expected)
        << c.text << " / " << c.from << " -> " << c.to;
  }
}

TEST(tqStringToInt, Cases) {
  struct Case {
    std::string text;
    std::int64_t value;
  };
  const Case cases[] = {
      {" 42", 42},
      {"", 0},
      {"   ", 0},
      {"-3", -3},
      {"+7", 7},
      {"12abc", 12},
      {"abc", 0},
      {"-", 0},
      {" \t 9", 9},
      {"2147483647", 2147483647},
      // Read as unsigned 32-bit, then taken as signed.
      {"2147483648", -2147483648LL},
      {"4294967295", -1},
      {"4294967296", -1},
      {"99999999999999999999", -1},
      {"-4294967295", 1},
      {"-4294967296", -1},
      {"&H1F", 31},
      {"&h1f", 31},
      {"&HFFFFFFFF", -1},
      {"&H1FFFFFFFF", -1},
      {"&H100000000", 0},
      {"&Hxyz", 0},
      {"&H", 0},
      {"&O17", 15},
      {"&o778", 63},
      {"&B101", 5},
      {"&b012", 1},
      {"&B", 0},
      // Any other byte after & starts octal digits right after the &.
      {"&17", 15},
      {"&9", 0},
      {"&", 0},
      {"  &H10", 16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tqString(c.text).toInt(), c.value) << "'" << c.text << "'";
  }
}

TEST(tqStringStartsWith, Cases) {
  struct Case {
    std::string text, prefix;
    bool expected;
  };
  const Case cases[] = {
      {"", "#", false}, {"abc", "", false},    {"", "", false},
      {"abc", "ab", true}, {"abc", "abc", true}, {"abc", "abcd", false},
      {"#comment", "#", true}, {"Abc", "a", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tqString(c.text).startsWith(c.prefix), c.expected) << c.text << " / " << c.prefix;
  }
}

TEST(tqStringIndexOf, IsOneBasedWithZeroForMissingAndMinusOneForEmpty) {
  const tqString text("abcabc");
  EXPECT_EQ(text.indexOf("a"), 1);
  EXPECT_EQ(text.indexOf("ca"), 3);
  EXPECT_EQ(text.indexOf(tqString("bc")), 2);
  EXPECT_EQ(text.indexOf("x"), 0);
  EXPECT_EQ(text.indexOf("abcabcd"), 0);
  EXPECT_EQ(text.indexOf(""), -1);
  EXPECT_EQ(text.indexOf(tqString()), -1);
  EXPECT_EQ(tqString().indexOf("a"), 0);
}

TEST(tqStringHashCode, KnownValues) {
  EXPECT_EQ(tqString().hashCode(), 0);
  EXPECT_EQ(tqString("abc").hashCode(), 96354);
  EXPECT_EQ(tqString("\xff").hashCode(), 255);  // bytes count unsigned
}

TEST(tqStringHashCode, ShortTextsAreTheExactPolynomial) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> byte(1, 255);
  std::uniform_int_distribution<int> length(0, 10);
  for (int round = 0; round < 2000; ++round) {
    std::string text(static_cast<std::size_t>(length(random)), '\0');
    std::int64_t exact = 0;
    for (char& c : text) {
      c = static_cast<char>(byte(random));
      exact = exact * 31 + static_cast<unsigned char>(c);
    }
    EXPECT_EQ(tqString(text).hashCode(), exact);
  }
}

TEST(tqStringTexts, EndAtTheFirstZeroByte) {
  EXPECT_EQ(tqString("ab\0cd"s).toString(), "ab");
  EXPECT_EQ(tqString("ab\0cd"s).length(), 2);
  tqString text("x");
  text.append("y\0z"s);
  EXPECT_EQ(text.toString(), "xy");
  EXPECT_EQ(tqString("a b").replace(" ", "\0"s).toString(), "a b");
}

TEST(tqStringTexts, AbsentAndEmptyArguments) {
  const char* absent = nullptr;
  EXPECT_TRUE(tqString(absent).isEmpty());

  tqString text("abc");
  text.assign("");
  EXPECT_EQ(text.toString(), "abc") << "an empty text keeps the old one";
  text.assign(tqString());
  EXPECT_EQ(text.toString(), "") << "an empty tqString is copied";
  text.append("");
  EXPECT_EQ(text.toString(), "");

  EXPECT_EQ(tqString("ab").concat("").toString(), "ab");
  EXPECT_EQ(tqString("ab").concat(tqString("cd")).toString(), "abcd");
}

TEST(tqStringTexts, CopiesNeverShareBytes) {
  tqString original("abc");
  tqString copy(original);
  copy.append("d");
  EXPECT_EQ(original.toString(), "abc");

  const auto owned = original.copyText();
  owned[0] = 'X';
  EXPECT_EQ(original.toString(), "abc");
  EXPECT_STREQ(owned.get(), "Xbc");
}

TEST(tqStringTexts, ContentEqualsIsByteExactWhileEqualsIsIdentity) {
  const tqString left("abc");
  const tqString right("abc");
  EXPECT_TRUE(left.contentEquals(right));
  EXPECT_FALSE(left.equals(right));
  EXPECT_FALSE(left.contentEquals(tqString("ABC")));
  EXPECT_FALSE(left.contentEquals(tqString("abcd")));
}

TEST(tqStringTexts, ByteRangeIsClippedToTheText) {
  EXPECT_EQ(tqString("abcdef", 1, 3).toString(), "bcd");
  EXPECT_EQ(tqString("abcdef", 4, 10).toString(), "ef");
  EXPECT_EQ(tqString("abcdef", -2, 2).toString(), "ab");
  EXPECT_EQ(tqString("abcdef", 9, 2).toString(), "");
  EXPECT_EQ(tqString("abcdef", 2, -1).toString(), "");
}
