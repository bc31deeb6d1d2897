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

namespace plandek {

namespace {

namespace fs = std::filesystem;

class ScheduleFileTest : public InTemporaryFolder {
 protected:
  static void write(const std::string& content) {
    std::ofstream("plandek.dat", std::ios::binary | std::ios::trunc) << content;
  }

  // Pauses that take no time and count themselves; `during` runs in each,
  // given its number from 1, and answers whether the pause ran out (true) or
  // a stop ended it.
  ScheduleFile::Pause countedPauses(std::function<bool(int pause)> during = [](int) { return true; }) {
    return [this, during = std::move(during)](std::chrono::milliseconds length) {
      EXPECT_EQ(length, ScheduleFile::settlingPause);
      return during(++pauses);
    };
  }

  int pauses = 0;
};

const char* const wholeFile = "@hourly a\n@daily b\n@weekly c\n";
const char* const halfWritten = "@hourly a\n@da";

}  // namespace

TEST_F(ScheduleFileTest, ChangesExactlyWhenTheContentDoes) {
  ScheduleFile file("plandek.dat", countedPauses());
  // Missing, then empty: both have the empty digest.
  EXPECT_FALSE(file.readIfChanged());
  write("");
  EXPECT_FALSE(file.readIfChanged());

  write("@daily backup.bat\n");
  std::optional<ScheduleFile::Change> changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->bytes, "@daily backup.bat\n");
  EXPECT_FALSE(file.readIfChanged());
  // Rewritten unchanged.
  write("@daily backup.bat\n");
  EXPECT_FALSE(file.readIfChanged());

  write("@daily backup.bat\r\n");
  EXPECT_TRUE(file.readIfChanged());

  fs::remove("plandek.dat");
  changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->bytes, "");
  write("@daily backup.bat\r\n");
  changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->bytes, "@daily backup.bat\r\n");
}

TEST_F(ScheduleFileTest, DigestsTheBytesNotTheText) {
  ScheduleFile file("plandek.dat", countedPauses());
  write("@daily a\n");
  ASSERT_TRUE(file.readIfChanged());
  // The same text saved in UTF-16 with a byte-order mark.
  const std::string utf16(std::string("\xFF\xFE@\0d\0a\0i\0l\0y\0 \0a\0\n\0", 20));
  write(utf16);
  const std::optional<ScheduleFile::Change> changed = file.readIfChanged();
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->bytes, utf16);
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
    const auto file = std::make_shared<ScheduleFile>("plandek.dat", countedPauses());
    write("@daily backup.bat\n");
    ASSERT_TRUE(file->readIfChanged());
    fs::remove("plandek.dat");
    if (!kind.make("plandek.dat")) continue;  // none on this system
    const auto emptied = resultWithin(std::chrono::seconds(60), [file] { return file->readIfChanged(); });
    ASSERT_TRUE(emptied) << kind.name << " kept the read waiting";
    ASSERT_TRUE(*emptied) << kind.name;
    EXPECT_EQ((*emptied)->bytes, "") << kind.name;
    EXPECT_FALSE(file->readIfChanged()) << kind.name;
    fs::remove("plandek.dat");
  }
}

TEST_F(ScheduleFileTest, RefusesAFileOtherUsersCanChangeAndTellsItOnceUntilItIsSafe) {
  if (!hasFileModes()) GTEST_SKIP() << "no file modes: folder permissions guard the schedule";
  ScheduleFile file("plandek.dat", countedPauses());
  write("@daily backup.bat\n");
  fs::permissions("plandek.dat", fs::perms::others_write, fs::perm_options::add);
  std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "writable by every user");
  EXPECT_EQ(read->bytes, "");
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
  EXPECT_EQ(read->bytes, "@hourly backup.bat\n");

  if (!giveToUser("plandek.dat", 65534)) GTEST_SKIP() << "giving files away takes root";
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "owned by user 65534");
  EXPECT_EQ(read->bytes, "");
  EXPECT_FALSE(file.readIfChanged());
  ASSERT_TRUE(giveToUser("plandek.dat", 0));
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->bytes, "@hourly backup.bat\n");
}

TEST_F(ScheduleFileTest, LoadsAChangeOnlyOnceTwoReadsAPauseApartAgree) {
  ScheduleFile file("plandek.dat", countedPauses([](int pause) {
    // The writer finishes during the first pause.
    if (pause == 1) write(wholeFile);
    return true;
  }));
  write(halfWritten);
  const std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->bytes, wholeFile);
  // Half, whole, whole again.
  EXPECT_EQ(pauses, 2);
  // Unchanged: read once, no pause.
  EXPECT_FALSE(file.readIfChanged());
  EXPECT_EQ(pauses, 2);
}

TEST_F(ScheduleFileTest, LoadsAFileThatNeverSettlesAsLastReadAfterSoManyPauses) {
  ScheduleFile file("plandek.dat", countedPauses([](int pause) {
    write("@daily job" + std::to_string(pause) + "\n");
    return true;
  }));
  write("@daily job0\n");
  const std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(pauses, ScheduleFile::mostRereads);
  EXPECT_EQ(read->bytes, "@daily job" + std::to_string(ScheduleFile::mostRereads) + "\n");
}

TEST_F(ScheduleFileTest, AStopDuringThePauseAnswersTheLastReadAtOnce) {
  ScheduleFile file("plandek.dat", countedPauses([](int) { return false; }));
  write(halfWritten);
  const std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(pauses, 1);
  EXPECT_EQ(read->bytes, halfWritten);
}

TEST_F(ScheduleFileTest, ChangesBackDuringThePausesAreNoChange) {
  ScheduleFile file("plandek.dat", countedPauses([](int pause) {
    if (pause == 1) write(wholeFile);
    return true;
  }));
  write(wholeFile);
  ASSERT_TRUE(file.readIfChanged());
  pauses = 0;
  // Caught half-written by an editor that saves the same text again.
  write(halfWritten);
  EXPECT_FALSE(file.readIfChanged());
  EXPECT_EQ(pauses, 2);
}

TEST_F(ScheduleFileTest, RefusesAFileItCannotReadAndTellsItOnceButNotAMissingOne) {
  if (!hasFileModes()) GTEST_SKIP() << "no file modes";
  ScheduleFile file("plandek.dat", countedPauses());
  write("@daily backup.bat\n");
  ASSERT_TRUE(file.readIfChanged());
  fs::permissions("plandek.dat", fs::perms::none);
  std::optional<ScheduleFile::Change> refused;
  std::optional<ScheduleFile::Change> again;
  // Root reads every file; the reading thread gives that up.
  ASSERT_TRUE(runBoundByFileModes([&] {
    refused = file.readIfChanged();
    again = file.readIfChanged();
  })) << "file modes cannot bind this process";
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->refusal, "not readable: Permission denied");
  EXPECT_EQ(refused->bytes, "");
  EXPECT_FALSE(refused->keepsEntries);
  EXPECT_FALSE(again);

  fs::permissions("plandek.dat", fs::perms::owner_read | fs::perms::owner_write);
  std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "");
  EXPECT_EQ(read->bytes, "@daily backup.bat\n");
  fs::remove("plandek.dat");
  read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "");
  EXPECT_EQ(read->bytes, "");
}

TEST_F(ScheduleFileTest, KeepsTheEntriesWhileAnotherProgramHoldsTheFileAndTellsItOnce) {
  ScheduleFile file("plandek.dat", countedPauses());
  write("@daily backup.bat\n");
  ASSERT_TRUE(file.readIfChanged());
  std::shared_ptr<void> held = holdWithoutSharing("plandek.dat");
  if (!held) GTEST_SKIP() << "no program can keep others from reading a file here";
  const std::optional<ScheduleFile::Change> refused = file.readIfChanged();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->refusal, "in use by another program");
  EXPECT_TRUE(refused->keepsEntries);
  EXPECT_FALSE(file.readIfChanged());
  // Readable again and unchanged: nothing to load, nothing to tell.
  held.reset();
  EXPECT_FALSE(file.readIfChanged());

  held = holdWithoutSharing("plandek.dat");
  ASSERT_TRUE(held);
  ASSERT_TRUE(file.readIfChanged());
  held.reset();
  write("@hourly backup.bat\n");
  const std::optional<ScheduleFile::Change> read = file.readIfChanged();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->refusal, "");
  EXPECT_EQ(read->bytes, "@hourly backup.bat\n");
  // Held again after the change: told again.
  held = holdWithoutSharing("plandek.dat");
  ASSERT_TRUE(held);
  const std::optional<ScheduleFile::Change> told = file.readIfChanged();
  ASSERT_TRUE(told);
  EXPECT_EQ(told->refusal, "in use by another program");
}

TEST_F(ScheduleFileTest, AFileHeldForAMomentIsReadOnceFreeWithNothingToTell) {
  std::shared_ptr<void> held;
  // Held through one pause, gone by the end of the next.
  int heldUntilPause = 0;
  ScheduleFile file("plandek.dat", countedPauses([&](int pause) {
                      if (pause >= heldUntilPause) held.reset();
                      return true;
                    }));
  write("@daily backup.bat\n");
  ASSERT_TRUE(file.readIfChanged());
  pauses = 0;
  heldUntilPause = 2;
  held = holdWithoutSharing("plandek.dat");
  if (!held) GTEST_SKIP() << "no program can keep others from reading a file here";
  // Unchanged once free: no refusal, no reload.
  EXPECT_FALSE(file.readIfChanged());
  EXPECT_EQ(pauses, 3);

  held.reset();
  write("@hourly backup.bat\n");
  pauses = 0;
  heldUntilPause = 2;
  held = holdWithoutSharing("plandek.dat");
  ASSERT_TRUE(held);
  // Changed: loaded once free, a second read a pause later agreeing.
  const std::optional<ScheduleFile::Change> loaded = file.readIfChanged();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->refusal, "");
  EXPECT_FALSE(loaded->keepsEntries);
  EXPECT_EQ(loaded->bytes, "@hourly backup.bat\n");
}

}  // namespace plandek
