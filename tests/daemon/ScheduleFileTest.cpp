#include "daemon/ScheduleFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "InTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class ScheduleFileTest : public InTemporaryFolder {
 protected:
  static void write(const std::string& content) {
    std::ofstream("plandek.dat", std::ios::binary | std::ios::trunc) << content;
  }
};

}  // namespace

TEST_F(ScheduleFileTest, ChangesExactlyWhenTheContentDoes) {
  ScheduleFile file("plandek.dat");
  // Missing, then empty: both have the empty digest.
  EXPECT_FALSE(file.readIfChanged());
  write("");
  EXPECT_FALSE(file.readIfChanged());

  write("@daily backup.bat\n");
  std::optional<LoadedSchedule> changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->crons.toString(), "[0 0 * * *=backup.bat]");
  EXPECT_FALSE(file.readIfChanged());
  // Rewritten unchanged.
  write("@daily backup.bat\n");
  EXPECT_FALSE(file.readIfChanged());

  write("@daily backup.bat\r\n");
  EXPECT_TRUE(file.readIfChanged());

  fs::remove("plandek.dat");
  changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->crons.toString(), "[]");
  write("@daily backup.bat\r\n");
  changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->crons.toString(), "[0 0 * * *=backup.bat]");
}

TEST_F(ScheduleFileTest, DigestsTheBytesNotTheText) {
  ScheduleFile file("plandek.dat");
  write("@daily a\n");
  ASSERT_TRUE(file.readIfChanged());
  // The same text saved in UTF-16 with a byte-order mark.
  write(std::string("\xFF\xFE@\0d\0a\0i\0l\0y\0 \0a\0\n\0", 20));
  const std::optional<LoadedSchedule> changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->crons.toString(), "[0 0 * * *=a]");
}

TEST_F(ScheduleFileTest, ReadsAFolderAsAFileWithoutLines) {
  fs::create_directory("plandek.dat");
  ScheduleFile file("plandek.dat");
  EXPECT_FALSE(file.readIfChanged());
}
