#include "platform/Command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// The path quoted for both interpreters; the test folders hold no quotes.
std::string quoted(const fs::path& path) {
  std::string text = "\"";
  return text.append(path.string()).append("\"");
}

class CommandTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("CommandTest-" + std::to_string(std::random_device()()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

}  // namespace

TEST_F(CommandTest, ReturnsOnceTheCommandHasEnded) {
  const fs::path output = folder_ / "out.txt";
  ASSERT_TRUE(platform::runCommand("echo plandek> " + quoted(output)));
  // sh ends the line with LF, cmd.exe with CR LF.
  EXPECT_EQ(contentOf(output).substr(0, 7), "plandek") << contentOf(output);
}

TEST_F(CommandTest, AQuotedProgramPathWithBlanksReachesTheInterpreterIntact) {
  // This very test program, copied into a folder with a blank in its name.
  fs::path self;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::u8path(platform::executableDirectory()))) {
    if (entry.path().stem() == "platform_tests" && entry.is_regular_file()) self = entry.path();
  }
  ASSERT_FALSE(self.empty());
  const fs::path copy = folder_ / "with blank" / self.filename();
  fs::create_directories(copy.parent_path());
  fs::copy_file(self, copy);
  const fs::path listing = folder_ / "listed tests.txt";

  ASSERT_TRUE(platform::runCommand(quoted(copy) + " --gtest_list_tests --gtest_filter=CommandTest.* > " +
                                   quoted(listing)));
  EXPECT_NE(contentOf(listing).find("ReturnsOnceTheCommandHasEnded"), std::string::npos)
      << contentOf(listing);
}

TEST_F(CommandTest, AMissingProgramIsTheInterpretersAffair) {
  const fs::path errors = folder_ / "errors.txt";
  EXPECT_TRUE(platform::runCommand("plandek-no-such-program-4711 2> " + quoted(errors)));
  EXPECT_FALSE(contentOf(errors).empty());
}

TEST_F(CommandTest, ALineWithAZeroByteIsNotRun) {
  const fs::path output = folder_ / "out.txt";
  EXPECT_FALSE(platform::runCommand(std::string("echo a\0b> ", 10) + quoted(output)));
  EXPECT_FALSE(fs::exists(output));
}
