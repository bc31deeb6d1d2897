#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/Paths.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/Utf8Path.h"

namespace {

using Outcome = platform::InstanceLock::Outcome;

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

TEST(InstanceLock, OneClaimAtATimeOnAFolderAndFreeAgainOnceItGoes) {
  const TemporaryFolder folder("instance-lock");
  const std::string path = utf8(folder.path());
  {
    const platform::InstanceLock first(path);
    ASSERT_EQ(first.outcome(), Outcome::taken);
    const platform::InstanceLock second(path);
    EXPECT_EQ(second.outcome(), Outcome::heldElsewhere);
  }
  const platform::InstanceLock again(path);
  EXPECT_EQ(again.outcome(), Outcome::taken);
}

TEST(InstanceLock, AnyNameOfTheSameFolderMeetsTheSameClaim) {
  const TemporaryFolder folder("instance-lock");
  std::filesystem::create_directory(folder.path() / "inner");
  const std::string path = utf8(folder.path());
  std::vector<std::string> otherNames = {
      path + platform::pathSeparator(),
      path + platform::pathSeparator() + ".",
      path + platform::pathSeparator() + "inner" + platform::pathSeparator() + "..",
  };
  // Through a link to it, where the system lets a test make one.
  std::error_code linkError;
  std::filesystem::create_directory_symlink(folder.path(), folder.path() / "inner" / "link", linkError);
  if (!linkError) otherNames.push_back(utf8(folder.path() / "inner" / "link"));
  // Where the file system ignores case (Windows), the name in upper case too.
  std::error_code error;
  if (std::filesystem::equivalent(folder.path(), pathOf(upperCase(path)), error)) {
    otherNames.push_back(upperCase(path));
  }
  const platform::InstanceLock first(path);
  ASSERT_EQ(first.outcome(), Outcome::taken);
  for (const std::string& name : otherNames) {
    EXPECT_EQ(platform::InstanceLock(name).outcome(), Outcome::heldElsewhere) << name;
  }
}

TEST(InstanceLock, FoldersOfTheirOwnDoNotMeet) {
  const TemporaryFolder folder("instance-lock");
  std::filesystem::create_directory(folder.path() / "inner");
  const platform::InstanceLock outer(utf8(folder.path()));
  const platform::InstanceLock inner(utf8(folder.path() / "inner"));
  EXPECT_EQ(outer.outcome(), Outcome::taken);
  EXPECT_EQ(inner.outcome(), Outcome::taken);
}
