#include "daemon/ScheduleLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Paths.h"
#include "tests/support/FileContent.h"

namespace {

using Skipped = std::vector<std::pair<std::int64_t, std::string>>;

struct Case {
  std::string bytes;
  std::string entries;
  Skipped skipped;
};

Skipped skippedOf(const LoadedSchedule& loaded) {
  Skipped skipped;
  for (const SkippedLine& line : loaded.skippedLines) skipped.emplace_back(line.number, line.text);
  return skipped;
}

}  // namespace

TEST(ScheduleLoader, ReadsEveryFormOfLine) {
  const std::vector<Case> cases = {
      {"# comment\n\n@daily backup.bat\n", "[0 0 * * *=backup.bat]", {}},
      {"@hourly a\n@daily b\n@midnight c\n@weekly d\n@monthly e\n@yearly f\n@annually g",
       "[0 * * * *=a, 0 0 * * *=b, 0 0 * * *=c, 0 0 * * 0=d, 0 0 1 * *=e, 0 0 1 1 *=f, 0 0 1 1 *=g]",
       {}},
      {"*/15 0-6,22 1 1-12/2 7 backup.bat", "[*/15 0-6,22 1 1-12/2 7=backup.bat]", {}},
      // Tabs and runs of blanks separate the fields and the command.
      {"0\t5  *\t \t* *   \t run", "[0 5 * * *=run]", {}},
      {"@weekly\t\t run", "[0 0 * * 0=run]", {}},
      // The command stays exactly as written, but for the blanks at both ends.
      {"  30 6 * * 1 copy  a.txt\t\"b  c.txt\"   ", "[30 6 * * 1=copy  a.txt\t\"b  c.txt\"]", {}},
      {"@reboot start.bat /q", "[@reboot=start.bat /q]", {}},
      {"@reboot\t  start.bat", "[@reboot=start.bat]", {}},
      // Only a first word "@reboot" makes a start-up entry.
      {"0 5 * * * echo @reboot done", "[0 5 * * *=echo @reboot done]", {}},
      // Only a first word is a macro.
      {"@daily echo @hourly", "[0 0 * * *=echo @hourly]", {}},
      {"   # indented comment\n\t# tabbed comment\n#tight\n \t \n", "[]", {}},
      {"", "[]", {}},
  };
  for (const Case& example : cases) {
    const LoadedSchedule loaded = readSchedule(example.bytes);
    EXPECT_EQ(loaded.crons.toString(), example.entries) << example.bytes;
    EXPECT_EQ(skippedOf(loaded), example.skipped) << example.bytes;
  }
}

TEST(ScheduleLoader, RefusesIncompleteAndMalformedLinesByNumber) {
  const LoadedSchedule loaded = readSchedule(
      "* * * * *\n"
      "@reboot\n"
      "  @reboot  \t\n"
      "60 * * * * late\n"
      "* * * *\n"
      "1-2-3 * * * * x\n"
      "@daily\n"
      "@rebooted cmd\n"
      "@DAILY cmd\n"
      "* * * * * kept\n");
  EXPECT_EQ(loaded.crons.toString(), "[* * * * *=kept]");
  EXPECT_EQ(skippedOf(loaded), (Skipped{{1, "* * * * *"},
                                        {2, "@reboot"},
                                        {3, "@reboot  \t"},
                                        {4, "60 * * * * late"},
                                        {5, "* * * *"},
                                        {6, "1-2-3 * * * * x"},
                                        {7, "@daily"},
                                        {8, "@rebooted cmd"},
                                        {9, "@DAILY cmd"}}));
}

TEST(ScheduleLoader, CountsLinesEndedByLfCrLfAndALoneCr) {
  const LoadedSchedule loaded =
      readSchedule("@daily one\r\n@daily two\rbad\n\r\n@daily three\n\rbad\n@daily four");
  EXPECT_EQ(loaded.crons.toString(), "[0 0 * * *=one, 0 0 * * *=two, 0 0 * * *=three, 0 0 * * *=four]");
  // LF then CR ends two lines, the second of them empty.
  EXPECT_EQ(skippedOf(loaded), (Skipped{{3, "bad"}, {7, "bad"}}));
}

TEST(ScheduleLoader, EndsALineAtItsFirstZeroByte) {
  const char raw[] = "@daily a\0b\n\0@daily hidden\n* * \0* * * x\n";
  const std::string bytes(raw, sizeof raw - 1);
  const LoadedSchedule loaded = readSchedule(bytes);
  EXPECT_EQ(loaded.crons.toString(), "[0 0 * * *=a]");
  EXPECT_EQ(skippedOf(loaded), (Skipped{{3, "* *"}}));
}

TEST(ScheduleLoader, TakesAnyBytesWithoutHarm) {
  std::string bytes;
  for (int value = 0; value < 256 * 64; ++value) bytes.push_back(static_cast<char>(value * 7919 % 251));
  const LoadedSchedule loaded = readSchedule(bytes);
  EXPECT_TRUE(loaded.crons.isEmpty());
  for (const SkippedLine& line : loaded.skippedLines) {
    EXPECT_EQ(line.text.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
  }
}

TEST(ScheduleLoader, ReadsEveryLineOfTheExample) {
  const std::string example = platform::executableDirectory() + platform::pathSeparator() + "example-plandek.dat";
  const std::string bytes = contentOf(example);
  ASSERT_FALSE(bytes.empty()) << example;
  const LoadedSchedule loaded = readSchedule(bytes);
  EXPECT_EQ(skippedOf(loaded), Skipped{});
  EXPECT_EQ(loaded.crons.size(), 10);
  EXPECT_EQ(loaded.crons.get(0).schedule(), "@reboot");
}
