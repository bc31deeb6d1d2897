#include "lib/util/logging/tqResourceBundle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lib/util/logging/BundleFile.h"
#include "tests/support/ConsoleCapture.h"

namespace {

tqResourceBundle bundleOf(const std::string& bytes) {
  const BundleFile file("tqResourceBundleTest");
  file.write(bytes);
  return tqResourceBundle::getBundle(file.baseName());
}

// A bundle with the given entries, in order.
tqResourceBundle bundleWith(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string bytes;
  for (const auto& [key, value] : entries) bytes += key + "=" + value + "\n";
  return bundleOf(bytes);
}

}  // namespace

TEST(tqResourceBundle, ReadsKeysAndValuesLineByLine) {
  const struct {
    const char* line;
    const char* key;
    const char* value;
  } cases[] = {
      {" a = 1 ", "a", "1"},
      // Only the first "=" separates.
      {"b=x=y", "b", "x=y"},
      {"\tkey with blanks\t=\tvalue with blanks\t", "key with blanks", "value with blanks"},
      {"=empty key", "", "empty key"},
      // No continuation, no escapes, ":" is no separator, "!" no comment.
      {"path=C:\\dir\\", "path", "C:\\dir\\"},
      {"u=\\u0041", "u", "\\u0041"},
      {"c:d=e", "c:d", "e"},
      {"!x=y", "!x", "y"},
      {"a#b=c#d", "a#b", "c#d"},
  };
  for (const auto& testCase : cases) {
    const tqResourceBundle bundle = bundleOf(std::string(testCase.line) + "\r\n");
    EXPECT_EQ(bundle.handleKeySet().toString(), std::string("[") + testCase.key + "]") << testCase.line;
    EXPECT_EQ(bundle.getString(testCase.key), testCase.value) << testCase.line;
  }
}

TEST(tqResourceBundle, SkipsCommentsEmptyLinesAndLinesWithoutEquals) {
  const tqResourceBundle bundle =
      bundleOf("# comment=1\r\n\r\n a = 1 \r\nb=x=y\r\nc\r\n  \t# indented=comment\nd=2\re=3");
  EXPECT_EQ(bundle.keySet().toString(), "[a, b, d, e]");
  EXPECT_EQ(bundle.getString("a"), "1");
  EXPECT_EQ(bundle.getString("b"), "x=y");
  EXPECT_FALSE(bundle.containsKey("c"));
  EXPECT_FALSE(bundle.containsKey("# comment"));
  EXPECT_EQ(bundle.getString("e"), "3");
}

TEST(tqResourceBundle, ALaterLineForTheSameKeyWins) {
  const tqResourceBundle bundle = bundleOf("k=first\nother=x\nk=second\n");
  EXPECT_EQ(bundle.getString("k"), "second");
  EXPECT_EQ(bundle.keySet().toString(), "[k, other]");
}

TEST(tqResourceBundle, AMissingOrUnreadableFileIsReportedAndGivesAnEmptyBundle) {
  // Some systems refuse to open a folder, others open it and fail the read.
  for (const bool folder : {false, true}) {
    const BundleFile unreadable("tqResourceBundleUnreadable", "de");
    if (folder) unreadable.makeFolder();
    tqResourceBundle bundle;
    EXPECT_EQ(consoleOutputOf([&] { bundle = tqResourceBundle::getBundle(unreadable.baseName(), "de"); }),
              asReadBackInTextMode("Error: Can't load language file " + unreadable.fileName() + "\r\n"))
        << (folder ? "folder" : "missing");
    EXPECT_EQ(unreadable.fileName(), unreadable.baseName() + "_de.properties");
    EXPECT_EQ(bundle.getString("a"), "");
    EXPECT_TRUE(bundle.keySet().isEmpty());
  }
}

TEST(tqResourceBundle, ALocaleNamesItsOwnFileWithoutFallingBack) {
  const BundleFile plain("tqResourceBundleLocale");
  plain.write("greeting=hello\n");
  EXPECT_EQ(tqResourceBundle::getBundle(plain.baseName()).getString("greeting"), "hello");
  testing::internal::CaptureStdout();
  EXPECT_EQ(tqResourceBundle::getBundle(plain.baseName(), "de").getString("greeting"), "");
  EXPECT_NE(testing::internal::GetCapturedStdout().find(plain.baseName() + "_de.properties"), std::string::npos);
}

TEST(tqResourceBundle, ParentsAnswerForMissingAndEmptyValues) {
  tqResourceBundle grandparent = bundleWith({{"deep", "g"}, {"shared", "g"}});
  tqResourceBundle parent = bundleWith({{"empty", "p"}, {"shared", "p"}});
  tqResourceBundle child = bundleWith({{"own", "c"}, {"empty", ""}, {"shared", "c"}});
  child.setParent(&parent);
  parent.setParent(&grandparent);

  EXPECT_EQ(child.getString("own"), "c");
  EXPECT_EQ(child.getString("empty"), "p");
  EXPECT_EQ(child.getString("deep"), "g");
  EXPECT_EQ(child.getString("missing"), "");
  EXPECT_TRUE(child.containsKey("deep"));
  EXPECT_FALSE(child.containsKey("missing"));
  EXPECT_EQ(child.keySet().toString(), "[own, empty, shared, deep]");
  EXPECT_EQ(child.handleKeySet().toString(), "[own, empty, shared]");
  EXPECT_EQ(child.getStringList("shared").toString(), "[c, p, g]");
  EXPECT_EQ(child.getStringList("empty").toString(), "[p]");

  std::vector<String> array(4, "old");
  EXPECT_TRUE(child.getStringArray("shared", array));
  EXPECT_EQ(array, (std::vector<String>{"c", "p", "g"}));
  EXPECT_TRUE(child.getStringArray("missing", array));
  EXPECT_TRUE(array.empty());

  // A copy keeps the entries and the same parent.
  const tqResourceBundle copy = child;
  EXPECT_EQ(copy.getString("deep"), "g");
}

TEST(tqResourceBundle, ParametersFillPlaceholdersOfTheValue) {
  tqResourceBundle parent = bundleWith({{"fallback", "parent {0}"}});
  tqResourceBundle bundle = bundleWith({{"two", "{1} and {0}, {2}"}, {"fallback", ""}});
  bundle.setParent(&parent);
  EXPECT_EQ(bundle.getString("two", std::vector<String>{"a", "b"}), "b and a, {2}");
  EXPECT_EQ(bundle.getString("two", std::string_view("x y z")), "y and x, z");
  EXPECT_EQ(bundle.getString("two", std::vector<String>{}), "{1} and {0}, {2}");
  EXPECT_EQ(bundle.getString("fallback", std::vector<String>{"p"}), "parent p");
  EXPECT_EQ(bundle.getString("missing", std::vector<String>{"p"}), "");
}
