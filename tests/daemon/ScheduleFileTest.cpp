#include "daemon/ScheduleFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "InTemporaryFolder.h"
#include "tests/support/ResultWithin.h"
#include "tests/support/SystemFiles.h"

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

TEST_F(ScheduleFileTest, ReadsWhatIsNotARegularFileAsAFileWithoutLinesAndAtOnce) {
  // A pipe without a writer would keep the open waiting, a device the reads.
  const struct {
    const char* name;
    std::function<bool(const fs::path&)> make;
  } kinds[] = {
      {"folder", [](const fs::path& path) { return fs::create_directory(path); }},
      {"named pipe", makeNamedPipe},
      {"link to an endless device", makeEndlessDeviceLink},
  };
  for (const auto& kind : kinds) {
    const auto file = std::make_shared<ScheduleFile>("plandek.dat");
    write("@daily backup.bat\n");
    ASSERT_TRUE(file->readIfChanged());
    fs::remove("plandek.dat");
    if (!kind.make("plandek.dat")) continue;  // none on this system
    const auto emptied = resultWithin(std::chrono::seconds(60), [file] { return file->readIfChanged(); });
    ASSERT_TRUE(emptied) << kind.name << " kept the read waiting";
    ASSERT_TRUE(*emptied) << kind.name;
    EXPECT_EQ((*emptied)->crons.toString(), "[]") << kind.name;
    EXPECT_FALSE(file->readIfChanged()) << kind.name;
    fs::remove("plandek.dat");
  }
}

TEST_F(ScheduleFileTest, RefusesAFileOtherUsersCanChangeAndTellsItOnceUntilItIsSafe) {
  if (!hasFileModes()) GTEST_SKIP() << "no file modes: folder permissions guard the schedule";
  ScheduleFile file("plandek.dat");
  write("@daily backup.bat\n");
  fs::permissions("plandek.dat", fs::perms::others_write, fs::perm_options::add);
  std::optional<LoadedSchedule> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "writable by every user");
  EXPECT_EQ(read->crons.toString(), "[]");
  // Looked at on every read, told once, edits included.
  EXPECT_FALSE(file.readIfChanged());
  write("@hourly backup.bat\n");
  EXPECT_FALSE(file.readIfChanged());

  // Safe again, though its group may write it: read at once.
  fs::permissions("plandek.dat", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                     fs::perms::group_write | fs::perms::others_read);
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "");
  EXPECT_EQ(read->crons.toString(), "[0 * * * *=backup.bat]");

  if (!giveToUser("plandek.dat", 65534)) GTEST_SKIP() << "giving files away takes root";
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "owned by user 65534");
  EXPECT_EQ(read->crons.toString(), "[]");
  EXPECT_FALSE(file.readIfChanged());
  ASSERT_TRUE(giveToUser("plandek.dat", 0));
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->crons.toString(), "[0 * * * *=backup.bat]");
}
