#include "platform/Command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/FileContent.h"
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

TEST_F(CommandTest, ALineThatIsNotUtf8IsTakenAsTheSystemReadsSuchText) {
  // "ü" in code page 1252, the ANSI code page of the tests' wine; not UTF-8.
  std::string target = quoted(folder_.path() / "j");
  target.insert(target.size() - 1, "\xFCrgen.txt");
  ASSERT_TRUE(platform::runCommand("echo x> " + target));
  const char* codePage = std::getenv("PLANDEK_ANSI_CODE_PAGE");
  const bool ansi = codePage != nullptr && std::string(codePage) == "1252";
  // Windows: the ANSI code page; elsewhere the bytes go to the shell as they are.
  const fs::path expected = ansi ? pathOf("j\xC3\xBCrgen.txt") : fs::path("j\xFCrgen.txt");
  EXPECT_TRUE(fs::exists(folder_.path() / expected)) << expected;
}
