#include "platform/SystemNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestProgram.h"

namespace {

// Set by the build where SHELL names the interpreter (POSIX).
bool shellNamesTheInterpreter() { return std::getenv("PLANDEK_SHELL_NAMES_INTERPRETER") != nullptr; }

}  // namespace

TEST(SystemNames, TellsAnExecutableFileFromAFolderAMissingPathAndOnPosixAPlainFile) {
  const TemporaryFolder folder("system-names");
  std::ofstream(folder.path() / "plain.txt") << "text";
  struct Case {
    std::string path;
    bool executable;
  };
  const Case cases[] = {
      {utf8(testProgram("platform_tests")), true},
      {utf8(folder.path()), false},
      {folder.file("missing"), false},
      {"", false},
      // Windows runs no file through SHELL: any file will do there.
      {folder.file("plain.txt"), !shellNamesTheInterpreter()},
  };
  for (const Case& example : cases) EXPECT_EQ(platform::isExecutableFile(example.path), example.executable) << example.path;
  EXPECT_EQ(platform::shellChoosesInterpreter(), shellNamesTheInterpreter());
}

TEST(SystemNames, TellsAUserAccountFromAnyOtherWord) {
  EXPECT_FALSE(platform::isUserAccountName("no-such-account-of-plandek"));
  EXPECT_FALSE(platform::isUserAccountName(""));
  EXPECT_FALSE(platform::isUserAccountName("root:x"));
  // POSIX systems have root in /etc/passwd; the build names it there.
  if (const char* account = std::getenv("PLANDEK_USER_ACCOUNT")) {
    EXPECT_TRUE(platform::isUserAccountName(account));
  }
}
