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
