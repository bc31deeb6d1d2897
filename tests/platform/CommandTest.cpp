#include "platform/Command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/FileContent.h"
#include "tests/support/ResultWithin.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/TestProgram.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class CommandTest : public WithTemporaryFolder {};

// The variables that the child reports.
constexpr const char* reportedNames[] = {"PLANDEK_SET", "PLANDEK_EXPECTED_EXE_FOLDER", "SHELL"};

// "NAME=value" or "NAME unset", one a line.
std::string reportOf(const std::vector<std::pair<std::string, const char*>>& variables) {
  std::string report;
  for (const auto& [name, value] : variables) {
    report.append(name).append(value != nullptr ? "=" + std::string(value) : " unset").append("\n");
  }
  return report;
}

// This test program again, reporting its variables to the file PLANDEK_REPORT
// names; its own output goes to `output`.
std::string reportingCommand(const fs::path& output) {
  return quoted(testProgram("platform_tests")) +
         " --gtest_also_run_disabled_tests --gtest_filter=CommandChild.DISABLED_ReportsItsVariables > " +
         quoted(output);
}

// This test program again, running only the child test `name`.
std::string childCommand(const std::string& name) {
  return quoted(testProgram("platform_tests")) + " --gtest_also_run_disabled_tests --gtest_filter=CommandChild." + name;
}

bool awaitFile(const fs::path& path) {
  using namespace std::chrono_literals;
  for (int wait = 0; wait < 6000 && !fs::exists(path); ++wait) std::this_thread::sleep_for(10ms);
  return fs::exists(path);
}

// Where SHELL names the interpreter (POSIX), as the build says.
bool shellNamesTheInterpreter() { return std::getenv("PLANDEK_SHELL_NAMES_INTERPRETER") != nullptr; }

}  // namespace

TEST_F(CommandTest, ReturnsOnceTheCommandHasEnded) {
  const fs::path output = folder_.path() / "out.txt";
  ASSERT_TRUE(platform::runCommand("echo plandek> " + quoted(output)));
  // sh ends the line with LF, cmd.exe with CR LF.
  EXPECT_EQ(contentOf(output).substr(0, 7), "plandek") << contentOf(output);
}

TEST_F(CommandTest, AQuotedProgramPathWithBlanksReachesTheInterpreterIntact) {
  // This very test program, copied into a folder with a blank in its name.
  const fs::path self = testProgram("platform_tests");
  ASSERT_FALSE(self.empty());
  const fs::path copy = folder_.path() / "with blank" / self.filename();
  fs::create_directories(copy.parent_path());
  fs::copy_file(self, copy);
  const fs::path listing = folder_.path() / "listed tests.txt";

  ASSERT_TRUE(platform::runCommand(quoted(copy) + " --gtest_list_tests --gtest_filter=CommandTest.* > " +
                                   quoted(listing)));
  EXPECT_NE(contentOf(listing).find("ReturnsOnceTheCommandHasEnded"), std::string::npos)
      << contentOf(listing);
}

TEST_F(CommandTest, AMissingProgramIsTheInterpretersAffair) {
  const fs::path errors = folder_.path() / "errors.txt";
  EXPECT_TRUE(platform::runCommand("plandek-no-such-program-4711 2> " + quoted(errors)));
  EXPECT_FALSE(contentOf(errors).empty());
}

TEST_F(CommandTest, ALineWithAZeroByteIsNotRun) {
  const fs::path output = folder_.path() / "out.txt";
  EXPECT_FALSE(platform::runCommand(std::string("echo a\0b> ", 10) + quoted(output)));
  EXPECT_FALSE(fs::exists(output));
}

// Not a test: the command of the environment tests.
TEST(CommandChild, DISABLED_ReportsItsVariables) {
  std::vector<std::pair<std::string, const char*>> variables;
  for (const char* name : reportedNames) variables.emplace_back(name, std::getenv(name));
  const char* reportFile = std::getenv("PLANDEK_REPORT");
  ASSERT_NE(reportFile, nullptr);
  writeFile(pathOf(reportFile), reportOf(variables));
}

TEST_F(CommandTest, RunsTheCommandInItsEnvironment) {
  const fs::path report = folder_.path() / "report.txt";
  // Later settings of a name win; SHELL names an interpreter that runs the
  // line on POSIX and is a mere variable on Windows.
  const platform::CommandEnvironment environment({{"PLANDEK_SET", "first"},
                                                  {"PLANDEK_REPORT", utf8(report)},
                                                  {"PLANDEK_SET", "two  words"},
                                                  {"SHELL", "/bin/sh"}});
  ASSERT_TRUE(platform::runCommand(reportingCommand(folder_.path() / "child.txt"), environment));
  // The daemon's own variables are kept beside the settings.
  EXPECT_EQ(contentOf(report), reportOf({{"PLANDEK_SET", "two  words"},
                                         {"PLANDEK_EXPECTED_EXE_FOLDER", std::getenv("PLANDEK_EXPECTED_EXE_FOLDER")},
                                         {"SHELL", "/bin/sh"}}));
  // The environment is made once and serves any number of commands.
  fs::remove(report);
  ASSERT_TRUE(platform::runCommand(reportingCommand(folder_.path() / "child.txt"), environment));
  EXPECT_FALSE(contentOf(report).empty());
}

TEST_F(CommandTest, TextThatIsNotUtf8ReachesTheCommandAsItIsOrWithEachBadByteReplaced) {
  // "ü" in code page 1252, the ANSI code page of the tests' wine; not UTF-8.
  // The schedule's loader makes such text UTF-8; the platform decodes no
  // other encoding.
  const std::string target = utf8(folder_.path() / "j") + "\xFCrgen.txt";
  const std::string variable = shellNamesTheInterpreter() ? "\"$PLANDEK_TARGET\"" : "\"%PLANDEK_TARGET%\"";
  const struct {
    const char* in;
    std::string command;
    std::vector<platform::CommandEnvironment::Setting> settings;
  } cases[] = {
      {"the line", "echo x> \"" + target + "\"", {}},
      {"a setting", "echo x> " + variable, {{"PLANDEK_TARGET", target}}},
  };
  // Windows: U+FFFD; elsewhere the bytes go to the shell as they are.
  const fs::path expected = shellNamesTheInterpreter() ? fs::path("j\xFCrgen.txt") : pathOf("j\xEF\xBF\xBDrgen.txt");
  for (const auto& c : cases) {
    ASSERT_TRUE(platform::runCommand(c.command, platform::CommandEnvironment(c.settings))) << c.in;
    EXPECT_TRUE(fs::exists(folder_.path() / expected)) << c.in << ": " << expected;
    fs::remove(folder_.path() / expected);
  }
}

// Not a test: a command that runs until the file PLANDEK_RELEASE exists.
TEST(CommandChild, DISABLED_RunsUntilReleased) {
  const char* release = std::getenv("PLANDEK_RELEASE");
  ASSERT_NE(release, nullptr);
  ASSERT_TRUE(awaitFile(pathOf(release)));
  writeFile(pathOf(std::string(release) + ".ended"), "x");
}

TEST_F(CommandTest, AStartReturnsWithoutWaitingForTheCommand) {
  const fs::path release = folder_.path() / "release";
  const fs::path ended = folder_.path() / "release.ended";
  const platform::CommandEnvironment environment({{"PLANDEK_RELEASE", utf8(release)}});
  EXPECT_EQ(platform::startCommand(childCommand("DISABLED_RunsUntilReleased"), environment), "");
  // The command waits for this very file: it cannot have ended yet.
  EXPECT_FALSE(fs::exists(ended));
  writeFile(release, "x");
  EXPECT_TRUE(awaitFile(ended));
}

// Not a test: reports what it read from its standard input.
TEST(CommandChild, DISABLED_ReportsItsInput) {
  const std::string input(std::istreambuf_iterator<char>(std::cin), {});
  const char* reportFile = std::getenv("PLANDEK_REPORT");
  ASSERT_NE(reportFile, nullptr);
  writeFile(pathOf(std::string(reportFile) + ".new"), "input: [" + input + "]");
  fs::rename(pathOf(std::string(reportFile) + ".new"), pathOf(reportFile));
}

TEST_F(CommandTest, CommandsReadAnEmptyStandardInputNotTheDaemons) {
  // The test's own input holds text the commands must not see.
  const fs::path ownInput = folder_.path() / "own input.txt";
  writeFile(ownInput, "the daemon's own input\n");
  ASSERT_NE(std::freopen(ownInput.string().c_str(), "r", stdin), nullptr);
  const fs::path report = folder_.path() / "report.txt";
  const platform::CommandEnvironment environment({{"PLANDEK_REPORT", utf8(report)}});
  const std::string command = childCommand("DISABLED_ReportsItsInput");
  const std::vector<std::pair<std::string, std::function<bool()>>> starts = {
      {"run", [&] { return platform::runCommand(command, environment); }},
      {"start", [&] { return platform::startCommand(command, environment).empty(); }},
  };
  for (const auto& [name, start] : starts) {
    fs::remove(report);
    ASSERT_TRUE(start()) << name;
    ASSERT_TRUE(awaitFile(report)) << name;
    EXPECT_EQ(contentOf(report), "input: []") << name;
  }
  std::freopen(nullDeviceName().c_str(), "r", stdin);
}

TEST_F(CommandTest, ACommandThatAsksForInputGoesOn) {
  // cmd.exe's question ends at the end of the input; sh reads it as "set" and "echo".
  const std::string done = quoted(folder_.path() / "done.txt");
  const std::optional<bool> ran =
      resultWithin(std::chrono::seconds(60), [command = "set /p x= & echo done> " + done] {
        return platform::runCommand(command);
      });
  ASSERT_TRUE(ran.has_value()) << "still waiting for its input";
  EXPECT_TRUE(*ran);
  EXPECT_TRUE(awaitFile(folder_.path() / "done.txt"));
}

TEST_F(CommandTest, AStartThatCannotHappenSaysWhy) {
  const fs::path folder = folder_.path();
  struct Case {
    std::string command;
    std::vector<platform::CommandEnvironment::Setting> settings;
    std::string reason;
    bool shellOnly;
  };
  const std::vector<Case> cases = {
      {std::string("echo a\0b", 8), {}, "the command holds a zero byte", false},
      {"echo x", {{"SHELL", "/nonexistent"}}, "no interpreter /nonexistent: No such file or directory", true},
      // A folder is no program, not even for root.
      {"echo x", {{"SHELL", utf8(folder)}}, "no interpreter " + utf8(folder) + ": Permission denied", true},
      // It would be looked for in whatever folder the daemon runs in.
      {"echo x", {{"SHELL", "sh"}}, "the interpreter sh is not a full path", true},
      {"echo x", {{"SHELL", "/bin/a): b"}}, "no interpreter named in SHELL: No such file or directory", true},
  };
  for (const Case& c : cases) {
    if (c.shellOnly && !shellNamesTheInterpreter()) continue;
    const platform::CommandEnvironment environment(c.settings);
    EXPECT_EQ(platform::startCommand(c.command, environment), c.reason) << c.reason;
    EXPECT_FALSE(platform::runCommand(c.command, environment)) << c.reason;
  }
}

TEST_F(CommandTest, ALineAsLongAsTheSystemPassesStartsAndOneLongerIsRefused) {
  const std::string command = "echo x> " + quoted(folder_.path() / "out.txt");
  const std::size_t longest = platform::longestAsciiCommandLine();
  ASSERT_GT(longest, command.size());
  // One argument of 32 pages, its terminating zero included.
  if (shellNamesTheInterpreter()) {
    EXPECT_EQ(longest, 131071U);
  }
  // Blanks at the end are nothing to either interpreter.
  const std::string atTheLimit = command + std::string(longest - command.size(), ' ');
  EXPECT_EQ(platform::commandLineRefusal(atTheLimit), "");
  // cmd.exe itself takes at most 8,191 characters (wine's crashes on more):
  // the line reaches it, what it makes of it is its affair.
  if (shellNamesTheInterpreter()) {
    EXPECT_TRUE(platform::runCommand(atTheLimit));
  }
  const std::string refusal = platform::commandLineRefusal(atTheLimit + " ");
  // The limit is named.
  EXPECT_NE(refusal.find("longer than the " + std::to_string(shellNamesTheInterpreter() ? longest : 32767)),
            std::string::npos)
      << refusal;
  EXPECT_EQ(refusal.find("): "), std::string::npos) << refusal;
  EXPECT_NE(platform::startCommand(atTheLimit + " "), "");
}
