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
  EXPECT_FALSE(file.hasChanged());
  write("");
  EXPECT_FALSE(file.hasChanged());
  EXPECT_EQ(file.load().crons.toString(), "[]");

  write("@daily backup.bat\n");
  EXPECT_TRUE(file.hasChanged());
  EXPECT_FALSE(file.hasChanged());
  EXPECT_EQ(file.load().crons.toString(), "[0 0 * * *=backup.bat]");
  // Rewritten unchanged.
  write("@daily backup.bat\n");
  EXPECT_FALSE(file.hasChanged());

  write("@daily backup.bat\r\n");
  EXPECT_TRUE(file.hasChanged());

  fs::remove("plandek.dat");
  EXPECT_TRUE(file.hasChanged());
  EXPECT_EQ(file.load().crons.toString(), "[]");
  write("@daily backup.bat\r\n");
  EXPECT_TRUE(file.hasChanged());
  EXPECT_EQ(file.load().crons.toString(), "[0 0 * * *=backup.bat]");
}

TEST_F(ScheduleFileTest, ReadsAFolderAsAFileWithoutLines) {
  fs::create_directory("plandek.dat");
  ScheduleFile file("plandek.dat");
  EXPECT_FALSE(file.hasChanged());
  EXPECT_EQ(file.load().crons.toString(), "[]");
}
