#include "schedule/ScheduleLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Command.h"
#include "platform/CommandEnvironment.h"
#include "platform/Paths.h"
#include "platform/SystemText.h"
#include "tests/support/FileContent.h"

namespace schedule {

namespace {

struct Skip {
  std::int64_t number;
  std::string reason;
  std::string text;

  friend bool operator==(const Skip&, const Skip&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Skip& skip) {
    return out << "{" << skip.number << ", \"" << skip.reason << "\", \"" << skip.text << "\"}";
  }
};
using Skipped = std::vector<Skip>;

struct Case {
  std::string bytes;
  std::string entries;
  Skipped skipped = {};
  // Each entry's environment settings, "NAME=value" joined by blanks; none
  // given: every entry runs in the daemon's own environment.
  std::vector<std::string> environments = {};
};

Skipped skippedOf(const LoadedSchedule& loaded) {
  Skipped skipped;
  for (const SkippedLine& line : loaded.skippedLines) skipped.push_back({line.number, line.reason, line.text});
  return skipped;
}

std::vector<std::string> environmentsOf(const LoadedSchedule& loaded) {
  std::vector<std::string> environments;
  for (const Cron& entry : loaded.crons) {
    std::string settings;
    for (const platform::CommandEnvironment::Setting& setting : entry.environment().settings()) {
      settings.append(settings.empty() ? "" : " ").append(setting.name).append("=").append(setting.value);
    }
    environments.push_back(settings);
  }
  return environments;
}

// The text's bytes in UTF-16 with a byte-order mark, as the compiler encodes it.
std::string utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes.push_back(bigEndian ? high : low);
    bytes.push_back(bigEndian ? low : high);
  }
  return bytes;
}

std::string bytesOf(std::u8string_view text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(ScheduleLoader, ReadsEveryFormOfLine) {
  const std::vector<Case> cases = {
      {"# comment\n\n@daily backup.bat\n", "[0 0 * * *=backup.bat]"},
      {"@hourly a\n@daily b\n@midnight c\n@weekly d\n@monthly e\n@yearly f\n@annually g",
       "[0 * * * *=a, 0 0 * * *=b, 0 0 * * *=c, 0 0 * * 0=d, 0 0 1 * *=e, 0 0 1 1 *=f, 0 0 1 1 *=g]"},
      {"*/15 0-6,22 1 1-12/2 7 backup.bat", "[*/15 0-6,22 1 1-12/2 7=backup.bat]"},
      // Tabs and runs of blanks separate the fields and the command.
      {"0\t5  *\t \t* *   \t run", "[0 5 * * *=run]"},
      {"@weekly\t\t run", "[0 0 * * 0=run]"},
      // The command stays exactly as written, but for the blanks at both ends.
      {"  30 6 * * 1 copy  a.txt\t\"b  c.txt\"   ", "[30 6 * * 1=copy  a.txt\t\"b  c.txt\"]"},
      {"@reboot start.bat /q", "[@reboot=start.bat /q]"},
      {"@reboot\t  start.bat", "[@reboot=start.bat]"},
      // Only a first word "@reboot" makes a start-up entry.
      {"0 5 * * * echo @reboot done", "[0 5 * * *=echo @reboot done]"},
      // Only a first word is a macro.
      {"@daily echo @hourly", "[0 0 * * *=echo @hourly]"},
      {"   # indented comment\n\t# tabbed comment\n#tight\n \t \n", "[]"},
      {"", "[]"},
      // Names stay as written.
      {"0 9 * jan,JUL Mon-FRI run\n0 0 * * Sat-Sun/1 rest", "[0 9 * jan,JUL Mon-FRI=run, 0 0 * * Sat-Sun/1=rest]"},
      {"0 mon * * * x\n0 0 * * mond x\n0 0 * sun * x\n0 0 * * fri-mon x\nx): * * * * x",
       "[]",
       {{1, "hour: mon is not a number", "0 mon * * * x"},
        {2, "day of week: mond is not a number or a day name", "0 0 * * mond x"},
        {3, "month: sun is not a number or a month name", "0 0 * sun * x"},
        {4, "day of week: fri-mon runs backwards", "0 0 * * fri-mon x"},
        // Quoted, so that the reason holds no "): ".
        {5, "minute: 'x):' is not a number", "x): * * * * x"}}},
      // A setting applies below it, settings in the order first written.
      {"@daily a\nB=1\nA=2\n@daily b\n@daily c", "[0 0 * * *=a, 0 0 * * *=b, 0 0 * * *=c]", {}, {"", "B=1 A=2", "B=1 A=2"}},
      // Set again: the entries above keep the earlier value.
      {"A=1\n@daily a\nA=2\n@reboot b", "[0 0 * * *=a, @reboot=b]", {}, {"A=1", "A=2"}},
      // Blanks around "=" go, one pair of matching quotes goes, nothing is expanded.
      {" PATH = /usr/bin:$PATH \t\nQ=\"a 'b'\"\nS='c'\nU=\"d'\nMAILTO=\"\"\n@daily x",
       "[0 0 * * *=x]",
       {},
       {"PATH=/usr/bin:$PATH Q=a 'b' S=c U=\"d' MAILTO="}},
      // Refused settings set nothing.
      {"MY-VAR=1\n1X=2\n = 3\nA B=4\n@daily x", "[0 0 * * *=x]",
       {{1, "MY-VAR is not a variable name", "MY-VAR=1"},
        {2, "1X is not a variable name", "1X=2"},
        {3, "no variable name before =", "= 3"},
        // Not an environment line: a blank before the "=".
        {4, "too few fields", "A B=4"}}},
      // Only ASCII letters, digits and "_".
      {bytesOf(u8"GR\u00DCSSE=1\n@daily x"), "[0 0 * * *=x]", {{1, bytesOf(u8"GR\u00DCSSE is not a variable name"), bytesOf(u8"GR\u00DCSSE=1")}}},
      // A sixth time field: the interpreter would expand "*" and "?" to file names.
      {"*/6 * * * * * echo a\n0 12 * * * ?\n@daily *.sh\n@reboot *.sh\n0 5 * * * echo *", "[@reboot=*.sh, 0 5 * * *=echo *]",
       {{1, "the command starts with '*': one time field too many?", "*/6 * * * * * echo a"},
        {2, "the command starts with '?': one time field too many?", "0 12 * * * ?"},
        {3, "the command starts with '*': one time field too many?", "@daily *.sh"}}},
      // Files as editors save them: a UTF-8 byte-order mark, UTF-16 with one.
      {"\xEF\xBB\xBF@daily a\n", "[0 0 * * *=a]"},
      {utf16(u"@daily echo \u00FCber\r\n0 0 * * * \U0001F600", false),
       "[0 0 * * *=echo " + bytesOf(u8"\u00FCber") + ", 0 0 * * *=" + bytesOf(u8"\U0001F600") + "]"},
      // A lone surrogate becomes U+FFFD.
      {utf16(u"@daily echo \u00FCber\n\xD800 * * * * x", true), "[0 0 * * *=echo " + bytesOf(u8"\u00FCber") + "]",
       {{2, "minute: " + bytesOf(u8"\uFFFD") + " is not a number", bytesOf(u8"\uFFFD * * * * x")}}},
  };
  for (const Case& example : cases) {
    const LoadedSchedule loaded = readSchedule(example.bytes);
    EXPECT_EQ(loaded.crons.toString(), example.entries) << example.bytes;
    EXPECT_EQ(skippedOf(loaded), example.skipped) << example.bytes;
    const std::vector<std::string> environments =
        example.environments.empty() ? std::vector<std::string>(loaded.crons.size()) : example.environments;
    EXPECT_EQ(environmentsOf(loaded), environments) << example.bytes;
  }
}

TEST(ScheduleLoader, RefusesIncompleteAndMalformedLinesByNumberSayingWhy) {
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
  EXPECT_EQ(skippedOf(loaded), (Skipped{{1, "no command after the five time fields", "* * * * *"},
                                        {2, "@reboot without a command", "@reboot"},
                                        {3, "@reboot without a command", "@reboot  \t"},
                                        {4, "minute 60 is not in 0-59", "60 * * * * late"},
                                        {5, "too few fields", "* * * *"},
                                        {6, "minute: 1-2-3 is not understood", "1-2-3 * * * * x"},
                                        {7, "@daily without a command", "@daily"},
                                        {8, "unknown macro @rebooted", "@rebooted cmd"},
                                        {9, "unknown macro @DAILY", "@DAILY cmd"}}));
}

TEST(ScheduleLoader, MarksOnlyTheStartUpEntriesAsRunningAtStartUp) {
  const LoadedSchedule loaded =
      readSchedule("@reboot a\n@daily b\n0 5 * * * echo @reboot\n* * * * * c\n \t@reboot\t d\n@yearly e\n");
  std::vector<bool> atStartUp;
  for (const Cron& entry : loaded.crons) atStartUp.push_back(entry.compiledSchedule().runsAtStartUp());
  EXPECT_EQ(atStartUp, (std::vector<bool>{true, false, false, false, true, false})) << loaded.crons.toString();
}

TEST(ScheduleLoader, CountsLinesEndedByLfCrLfAndALoneCr) {
  const LoadedSchedule loaded =
      readSchedule("@daily one\r\n@daily two\rbad\n\r\n@daily three\n\rbad\n@daily four");
  EXPECT_EQ(loaded.crons.toString(), "[0 0 * * *=one, 0 0 * * *=two, 0 0 * * *=three, 0 0 * * *=four]");
  // LF then CR ends two lines, the second of them empty.
  EXPECT_EQ(skippedOf(loaded), (Skipped{{3, "too few fields", "bad"}, {7, "too few fields", "bad"}}));
}

TEST(ScheduleLoader, NumbersEachEntryAndEachEnvironmentLineAsTheSkippedLinesAre) {
  struct NumberedCase {
    std::string bytes;
    std::vector<std::int64_t> entryLines;
    // "number NAME=value" joined by blanks.
    std::string settings;
  };
  const NumberedCase cases[] = {
      {"", {}, ""},
      {"# a comment\n\n@daily one\r\nbad\r@reboot two\n* * * * * three", {3, 5, 6}, ""},
      // A setting given twice is two lines; a bad name is no setting.
      {"A=1\n@daily one\nA = '2'\n1B=3\n@daily two", {2, 5}, "1 A=1 3 A=2"},
      // UTF-16 counts as the text it holds.
      {utf16(u"X=\"y\"\n\n0 4 * * * run\n", false), {3}, "1 X=y"},
  };
  for (const NumberedCase& example : cases) {
    const LoadedSchedule loaded = readSchedule(example.bytes);
    std::string settings;
    for (const SettingLine& line : loaded.settings) {
      settings.append(settings.empty() ? "" : " ").append(std::to_string(line.number)).append(" ");
      settings.append(line.name).append("=").append(line.value);
    }
    EXPECT_EQ(loaded.entryLines, example.entryLines) << example.bytes;
    EXPECT_EQ(loaded.entryLines.size(), static_cast<std::size_t>(loaded.crons.size())) << example.bytes;
    EXPECT_EQ(settings, example.settings) << example.bytes;
  }
}

TEST(ScheduleLoader, RefusesALineHoldingAZeroByteShowingItAsBackslashZero) {
  // Cut at the zero byte, the first line would lose its redirection.
  const char raw[] = "@daily echo before\0after >> f\n\0@daily hidden\n* * \0* * * x\n"
                     "# a comment\0 stays one\n@daily kept\n\xFF\0\xFF\n";
  const std::string bytes(raw, sizeof raw - 1);
  const LoadedSchedule loaded = readSchedule(bytes);
  EXPECT_EQ(loaded.crons.toString(), "[0 0 * * *=kept]");
  const std::string notUtf8 = platform::utf8FromSystemText("\xFF\\0\xFF");
  EXPECT_EQ(skippedOf(loaded), (Skipped{{1, "a zero byte in the line", "@daily echo before\\0after >> f"},
                                        {2, "a zero byte in the line", "\\0@daily hidden"},
                                        {3, "a zero byte in the line", "* * \\0* * * x"},
                                        // Shown in UTF-8, as the system reads the line.
                                        {6, "a zero byte in the line", notUtf8}}));
}

TEST(ScheduleLoader, DropsAByteOrderMarkAtTheStartOfAnyLine) {
  const LoadedSchedule loaded = readSchedule(
      "\xEF\xBB\xBF@daily a\n"
      // Two files saved by Notepad, joined.
      "\xEF\xBB\xBF* * * * * b\r\n"
      "\xEF\xBB\xBF\xEF\xBB\xBF# comment\n"
      "\xEF\xBB\xBF" "A=1\n"
      "\xEF\xBB\xBF  @hourly c\n"
      // Only at the start: inside a line it is part of the text.
      "@daily d\xEF\xBB\xBF\n");
  EXPECT_EQ(loaded.crons.toString(),
            "[0 0 * * *=a, * * * * *=b, 0 * * * *=c, 0 0 * * *=d\xEF\xBB\xBF]");
  EXPECT_TRUE(loaded.skippedLines.empty());
}

TEST(ScheduleLoader, AsksWhetherATimeFieldIsMissingWhenACommandStandsInTheDayOfWeek) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" 0 * * * /var/www/run.php", "day of week: /var/www/run.php looks like a command: one time field missing?"},
      {"0 5 * * echo hello", "day of week: echo looks like a command: one time field missing?"},
      {"30 6 * * backup.cmd D:\\data", "day of week: backup.cmd looks like a command: one time field missing?"},
      {"0 5 * * C:\\tools\\run.cmd", "day of week: C:\\tools\\run.cmd looks like a command: one time field missing?"},
      {"0 5 * * ./run.sh", "day of week: ./run.sh looks like a command: one time field missing?"},
      {"0 5 * * ~/run.sh", "day of week: ~/run.sh looks like a command: one time field missing?"},
      {"0 5 * * \"C:\\Program Files\\x.exe\"", "day of week: \"C:\\Program looks like a command: one time field missing?"},
      {"0 5 * * $HOME/run", "day of week: $HOME/run looks like a command: one time field missing?"},
      {"0 5 * * %TOOLS%\\run", "day of week: %TOOLS%\\run looks like a command: one time field missing?"},
      // Quoted: the reason holds no "): ".
      {"0 5 * * x): y", "day of week: 'x):' looks like a command: one time field missing?"},
      {"0 5 * * monitor.sh", "day of week: monitor.sh looks like a command: one time field missing?"},
      {"0 5 * * run_all", "day of week: run_all looks like a command: one time field missing?"},
      // Misspelt or misplaced names are not commands.
      {"* * * * mond echo monday", "day of week: mond is not a number or a day name"},
      {"0 5 * * Wednesday x", "day of week: Wednesday is not a number or a day name"},
      {"0 5 * * jan x", "day of week: jan is not a number or a day name"},
      {"0 5 * * 8 x", "day of week 8 is not in 0-7"},
      {"0 5 * * 1-x y", "day of week: x is not a number or a day name"},
      {"0 5 * * 7z x", "day of week: 7z is not a number or a day name"},
      {"0 5 * * */x y", "day of week: x is not a number"},
      // A word in another field: more than one field would be missing.
      {"0 5 * echo hello", "month: echo is not a number or a month name"},
      {"x * * * * echo", "minute: x is not a number"},
  };
  for (const auto& [line, reason] : cases) {
    const LoadedSchedule loaded = readSchedule(line);
    EXPECT_TRUE(loaded.crons.isEmpty()) << line;
    ASSERT_EQ(loaded.skippedLines.size(), 1u) << line;
    EXPECT_EQ(loaded.skippedLines[0].reason, reason) << line;
    EXPECT_EQ(reason.find("): "), std::string::npos) << reason;
  }
}

TEST(ScheduleLoader, TakesAnyBytesWithoutHarm) {
  std::string bytes;
  for (int value = 0; value < 256 * 64; ++value) bytes.push_back(static_cast<char>(value * 7919 % 251));
  const LoadedSchedule loaded = readSchedule(bytes);
  EXPECT_TRUE(loaded.crons.isEmpty());
  for (const SkippedLine& line : loaded.skippedLines) {
    EXPECT_EQ(line.text.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    EXPECT_FALSE(line.reason.empty()) << line.text;
    EXPECT_EQ(line.reason.find("): "), std::string::npos) << line.reason;
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

TEST(ScheduleLoader, TakesALineThatIsNotUtf8AsTheSystemReadsSuchText) {
  const LoadedSchedule loaded = readSchedule("@daily echo J\xFCrgen\n@daily echo J\xC3\xBCrgen\n");
  ASSERT_EQ(loaded.crons.size(), 2);
  // Windows reads it in the ANSI code page, 1252 in the tests' wine; elsewhere
  // the bytes stay as they are.
  const char* codePage = std::getenv("PLANDEK_ANSI_CODE_PAGE");
  const bool ansi = codePage != nullptr && std::string(codePage) == "1252";
  EXPECT_EQ(loaded.crons.get(0).command(), ansi ? "echo J\xC3\xBCrgen" : "echo J\xFCrgen");
  EXPECT_EQ(loaded.crons.get(1).command(), "echo J\xC3\xBCrgen");
}

TEST(ScheduleLoader, RefusesACommandLongerThanTheSystemCanPass) {
  const std::size_t longest = platform::longestAsciiCommandLine();
  const std::string atTheLimit(longest, 'x');
  const std::string tooLong(longest + 1, 'y');
  const LoadedSchedule loaded = readSchedule("@reboot " + atTheLimit + "\n* * * * * " + tooLong + "\n");
  EXPECT_EQ(loaded.crons.toString(), "[@reboot=" + atTheLimit + "]");
  const std::string reason = "the command is " + platform::commandLineRefusal(tooLong);
  EXPECT_EQ(skippedOf(loaded), (Skipped{{2, reason, "* * * * * " + tooLong}}));
  EXPECT_TRUE(reason.starts_with("the command is longer than the ")) << reason;
}

}  // namespace schedule
