#include "check/CheckArguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace check {

TEST(CheckArguments, ReadsTheOptionsAndOneFile) {
  struct Case {
    std::vector<std::string_view> words;
    int next;
    std::string from;
    std::string file;
  };
  const Case cases[] = {
      {{}, 3, "", "plandek.dat"},
      {{"--next", "5", "other.dat"}, 5, "", "other.dat"},
      {{"--from", "2027-03-28 01:00", "--next", "0"}, 0, "2027-03-28 01:00", "plandek.dat"},
      // A lone "-" is a file's name.
      {{"-"}, 3, "", "-"},
  };
  for (const Case& example : cases) {
    const ArgumentsReading reading = readArguments(example.words);
    ASSERT_TRUE(reading.arguments) << reading.usageError;
    EXPECT_EQ(reading.arguments->nextStartCount, example.next);
    EXPECT_EQ(reading.arguments->from, example.from);
    EXPECT_EQ(reading.arguments->fileName, example.file);
  }
}

TEST(CheckArguments, TellsWhatIsWrongWithArgumentsItCannotTake) {
  struct Case {
    std::vector<std::string_view> words;
    std::string error;
  };
  const Case cases[] = {
      {{"--next"}, "--next needs a value"},
      {{"--from"}, "--from needs a value"},
      {{"--next", "x"}, "--next takes a number from 0 to 1000, not x"},
      {{"--next", "-1"}, "--next takes a number from 0 to 1000, not -1"},
      {{"--next", "1001"}, "--next takes a number from 0 to 1000, not 1001"},
      {{"--now"}, "unknown option --now"},
      {{"a.dat", "b.dat"}, "one file at a time: b.dat"},
  };
  for (const Case& example : cases) {
    const ArgumentsReading reading = readArguments(example.words);
    EXPECT_FALSE(reading.arguments);
    EXPECT_EQ(reading.usageError, example.error);
  }
}

}  // namespace check
