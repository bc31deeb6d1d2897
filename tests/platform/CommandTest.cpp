#include "platform/Command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/FileContent.h"
#include "tests/support/TestProgram.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class CommandTest : public WithTemporaryFolder {};

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
