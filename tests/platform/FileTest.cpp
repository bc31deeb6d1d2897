#include "platform/File.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/FileContent.h"
#include "tests/support/ResultWithin.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/Utf8Path.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class FileTest : public WithTemporaryFolder {};

}  // namespace

TEST_F(FileTest, ReadsEveryByteUntranslatedThenAnswersZero) {
  const std::string bytes = std::string("line\r\n\0\x1a\xff", 9) + std::string(70'000, 'x');
  const fs::path path = folder_.path() / u8"dätä.bin";
  writeFile(path, bytes);

  platform::File file = platform::File::openForReading(utf8(path));
  ASSERT_TRUE(file.isOpen());
  std::string read;
  char chunk[4096];
  for (std::int64_t count; (count = file.read(chunk, sizeof chunk)) > 0;) read.append(chunk, count);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(file.read(chunk, sizeof chunk), 0);
}

TEST_F(FileTest, IsClosedWhenItCannotBeOpened) {
  for (const std::string& name : {utf8(folder_.path() / "missing"), std::string(), std::string("a\0b", 3)}) {
    platform::File file = platform::File::openForReading(name);
    EXPECT_FALSE(file.isOpen()) << name;
    char byte = 0;
    EXPECT_EQ(file.read(&byte, 1), -1) << name;
  }
}

TEST_F(FileTest, AFolderCannotBeRead) {
  // Some systems open it and fail the read, others refuse to open it.
  platform::File folder = platform::File::openForReading(utf8(folder_.path()));
  char byte = 0;
  EXPECT_EQ(folder.read(&byte, 1), -1);
}

TEST_F(FileTest, MovingHandsTheFileOver) {
  const fs::path path = folder_.path() / "one.txt";
  writeFile(path, "1");
  platform::File first = platform::File::openForReading(utf8(path));
  platform::File second = std::move(first);
  EXPECT_FALSE(first.isOpen());
  char byte = 0;
  EXPECT_EQ(second.read(&byte, 1), 1);
  EXPECT_EQ(byte, '1');
  second.close();
  EXPECT_FALSE(second.isOpen());
  EXPECT_EQ(second.read(&byte, 1), -1);
}

TEST_F(FileTest, WritingCreatesOrEmptiesTheFile) {
  const fs::path path = folder_.path() / u8"lög.txt";
  for (const std::string& bytes : {std::string("first\r\n\0x", 9), std::string("2")}) {
    platform::File file = platform::File::openForWriting(utf8(path));
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.openError(), platform::File::OpenError::none);
    EXPECT_TRUE(file.write(bytes));
    file.close();
    EXPECT_EQ(contentOf(path), bytes);
  }
}

TEST_F(FileTest, AppendingKeepsTheContentAndWritesAtTheEndWhoeverWrote) {
  const fs::path path = folder_.path() / "append.log";
  writeFile(path, "old\r\n");
  platform::File first = platform::File::openForAppending(utf8(path));
  platform::File second = platform::File::openForAppending(utf8(path));
  ASSERT_TRUE(first.isOpen());
  ASSERT_TRUE(second.isOpen());
  // Each write lands after the other's, not over it.
  EXPECT_TRUE(first.write("one\r\n"));
  EXPECT_TRUE(second.write("two\r\n"));
  EXPECT_TRUE(first.write("three\r\n"));
  EXPECT_EQ(contentOf(path), "old\r\none\r\ntwo\r\nthree\r\n");
}

TEST_F(FileTest, AFileCutBackGoesOnFromItsNewEnd) {
  const fs::path path = folder_.path() / "cut.log";
  writeFile(path, "kept");
  // Opened for appending, as the log is: the cut needs more than appending.
  platform::File file = platform::File::openForAppending(utf8(path));
  ASSERT_TRUE(file.isOpen());
  EXPECT_TRUE(file.write(" torn rec"));
  EXPECT_EQ(file.contentStamp().value().size, 13);
  EXPECT_TRUE(file.truncate(4));
  EXPECT_EQ(file.contentStamp().value().size, 4);
  EXPECT_TRUE(file.write(" whole\r\n"));
  EXPECT_EQ(contentOf(path), "kept whole\r\n");
  EXPECT_FALSE(file.isDeletePending());
  EXPECT_FALSE(file.truncate(-1));
  file.close();
  EXPECT_EQ(file.contentStamp(), std::nullopt);
  EXPECT_FALSE(file.truncate(0));
  EXPECT_FALSE(file.isDeletePending());
}

TEST_F(FileTest, AWholeAppendIsInTheFileWholeOrNotAtAll) {
  const fs::path path = folder_.path() / "whole.log";
  // Far above what the test's own output may write while the limit holds.
  const std::string earlier(8192, '-');
  writeFile(path, earlier);
  platform::File file = platform::File::openForAppending(utf8(path));
  ASSERT_TRUE(file.isOpen());
  EXPECT_TRUE(file.appendWhole("fits\r\n"));
  const auto size = static_cast<std::int64_t>(earlier.size() + 6);
  bool cutShort = false;
  bool noRoom = true;
  const bool limited = runWithFilesLimitedTo(size + 4, [&] {
    // Four bytes go in, then the write fails: they go again.
    cutShort = !file.appendWhole("does not fit\r\n");
    noRoom = !file.appendWhole("");
  });
  if (!limited) GTEST_SKIP() << "this system cannot limit the size of a process's files";
  EXPECT_TRUE(cutShort);
  EXPECT_FALSE(noRoom) << "nothing at all always fits";
  EXPECT_EQ(contentOf(path), earlier + "fits\r\n");
  file.close();
  EXPECT_FALSE(file.appendWhole("closed"));
}

TEST_F(FileTest, AppendingCreatesAMissingFile) {
  const fs::path path = folder_.path() / "new.log";
  platform::File file = platform::File::openForAppending(utf8(path));
  ASSERT_TRUE(file.isOpen());
  const std::string large(300'000, 'z');
  EXPECT_TRUE(file.write(large));
  EXPECT_EQ(contentOf(path), large);
}

TEST_F(FileTest, OpenFailuresAreNotForLackOfHandles) {
  const std::string inMissingFolder = utf8(folder_.path() / "missing" / "x.log");
  platform::File failures[] = {platform::File::openForWriting(inMissingFolder),
                               platform::File::openForAppending(inMissingFolder),
                               platform::File::openForReading(inMissingFolder),
                               platform::File::openForAppending(utf8(folder_.path())),
                               platform::File::openForWriting("")};
  for (platform::File& file : failures) {
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.openError(), platform::File::OpenError::failed);
    EXPECT_FALSE(file.write("x"));
  }
}

TEST_F(FileTest, RunningOutOfHandlesIsToldApart) {
  if (std::getenv("PLANDEK_EXHAUST_HANDLES") == nullptr) GTEST_SKIP() << "PLANDEK_EXHAUST_HANDLES not set";
  const std::string path = utf8(folder_.path() / "many.txt");
  writeFile(path, "x");
  // Systems with room for more than this many skip the case.
  constexpr int mostToTry = 30'000;
  std::vector<platform::File> held;
  held.reserve(mostToTry);
  platform::File::OpenError error = platform::File::OpenError::none;
  while (static_cast<int>(held.size()) < mostToTry) {
    platform::File file = platform::File::openForReading(path);
    if (!file.isOpen()) {
      error = file.openError();
      break;
    }
    held.push_back(std::move(file));
  }
  held.clear();
  if (error == platform::File::OpenError::none) GTEST_SKIP() << "no limit below " << mostToTry;
  EXPECT_EQ(error, platform::File::OpenError::noFreeHandle);
}

TEST_F(FileTest, ChildProcessesInheritNoFile) {
  const std::string path = utf8(folder_.path() / "private.log");
  platform::File files[] = {platform::File::openForAppending(path), platform::File::openForWriting(path),
                            platform::File::openForReading(path)};
  for (const platform::File& file : files) {
    ASSERT_TRUE(file.isOpen());
    EXPECT_FALSE(file.isInheritedByChildProcesses());
  }
}

TEST_F(FileTest, AFileMovedAwayNoLongerHasTheIdentityAtItsName) {
  using Outcome = platform::File::NameLookup::Outcome;
  const fs::path path = folder_.path() / "plandek.log";
  const fs::path moved = folder_.path() / "moved.log";
  platform::File file = platform::File::openForAppending(utf8(path));
  const std::optional<platform::File::Identity> identity = file.identity();
  ASSERT_TRUE(identity.has_value());
  const platform::File::NameLookup found{Outcome::found, *identity};
  EXPECT_EQ(platform::File::identityAt(utf8(path)), found);
  writeFile(folder_.path() / "other.log", "other");
  for (const fs::path& other : {folder_.path() / "other.log", folder_.path()}) {
    const platform::File::NameLookup atOther = platform::File::identityAt(utf8(other));
    EXPECT_EQ(atOther.outcome, Outcome::found) << other;
    EXPECT_NE(atOther.identity, identity) << other;
  }

  // Moved away, then another file put at its name.
  fs::rename(path, moved);
  EXPECT_EQ(platform::File::identityAt(utf8(path)).outcome, Outcome::absent);
  EXPECT_EQ(platform::File::identityAt(utf8(moved)), found);
  writeFile(path, "new\r\n");
  EXPECT_NE(platform::File::identityAt(utf8(path)), found);

  file.close();
  EXPECT_EQ(file.identity(), std::nullopt);
}

TEST_F(FileTest, TellsANameWithNothingThereFromOneThatCannotBeLookedUp) {
  using Outcome = platform::File::NameLookup::Outcome;
  writeFile(folder_.path() / "file", "x");
  // Nothing can be there: a missing name, a missing folder on the way, a file
  // taken for a folder, no name.
  for (const std::string& name : {utf8(folder_.path() / "missing"), utf8(folder_.path() / "missing" / "x.log"),
                                  utf8(folder_.path() / "file" / "x.log"), std::string()}) {
    EXPECT_EQ(platform::File::identityAt(name).outcome, Outcome::absent) << name;
  }

  // A folder that may not be searched hides what is in it.
  const fs::path locked = folder_.path() / "locked";
  fs::create_directory(locked);
  writeFile(locked / "x.log", "x");
  fs::permissions(locked, fs::perms::none);
  Outcome inLocked = Outcome::found;
  const bool bound = runBoundByFileModes([&] { inLocked = platform::File::identityAt(utf8(locked / "x.log")).outcome; });
  fs::permissions(locked, fs::perms::owner_all);
  if (!bound) GTEST_SKIP() << "file modes do not bind this process";
  EXPECT_EQ(inLocked, Outcome::unknown);
}

TEST_F(FileTest, OnlyARegularFileIsOneAndNothingElseKeepsTheReaderWaiting) {
  writeFile(folder_.path() / "data.txt", "x");
  EXPECT_TRUE(platform::File::openForReading(utf8(folder_.path() / "data.txt")).isRegularFile());
  EXPECT_FALSE(platform::File::openForReading(utf8(folder_.path() / "missing")).isRegularFile());
  EXPECT_FALSE(platform::File::openForReading(utf8(folder_.path())).isRegularFile());
  const platform::File device = platform::File::openForReading(nullDeviceName());
  EXPECT_TRUE(device.isOpen());
  EXPECT_FALSE(device.isRegularFile());

  // A pipe without a writer: neither the open nor a read waits for one.
  const fs::path pipe = folder_.path() / "pipe";
  if (!makeNamedPipe(pipe)) return;  // none on this system
  const auto opened = resultWithin(std::chrono::seconds(60), [name = utf8(pipe)] {
    platform::File file = platform::File::openForReading(name);
    char byte = 0;
    return file.isOpen() && !file.isRegularFile() && file.read(&byte, 1) <= 0;
  });
  EXPECT_EQ(opened, std::optional<bool>(true));
}

TEST_F(FileTest, TellsWhetherUsersOtherThanOursAndRootCouldChangeTheFile) {
  using Reason = platform::File::WriteExposure::Reason;
  const fs::path path = folder_.path() / "plandek.dat";
  writeFile(path, "x");
  const auto exposureWith = [&path](fs::perms modes) {
    fs::permissions(path, modes);
    return platform::File::openForReading(utf8(path)).writeExposure();
  };
  constexpr fs::perms ownerReadWrite = fs::perms::owner_read | fs::perms::owner_write;
  if (!hasFileModes()) {
    // Folder permissions decide it, which the file does not tell.
    EXPECT_EQ(exposureWith(fs::perms::all).reason, Reason::none);
    return;
  }
  const struct {
    fs::perms modes;
    Reason reason;
  } cases[] = {
      {ownerReadWrite, Reason::none},
      {ownerReadWrite | fs::perms::group_write | fs::perms::others_read, Reason::none},
      {ownerReadWrite | fs::perms::others_write, Reason::writableByEveryUser},
      {fs::perms::all, Reason::writableByEveryUser},
  };
  for (const auto& testCase : cases) {
    EXPECT_EQ(exposureWith(testCase.modes).reason, testCase.reason) << static_cast<int>(testCase.modes);
  }
  EXPECT_EQ(platform::File().writeExposure().reason, Reason::none);

  if (!giveToUser(path, 65534)) GTEST_SKIP() << "giving files away takes root";
  for (const fs::perms modes : {ownerReadWrite, fs::perms::all}) {
    const platform::File::WriteExposure owned{Reason::ownedByAnotherUser, 65534};
    EXPECT_EQ(exposureWith(modes), owned) << static_cast<int>(modes);
  }
}

TEST_F(FileTest, TellsWhyAnOpenForReadingFailed) {
  platform::File missing = platform::File::openForReading(utf8(folder_.path() / "missing"));
  platform::File::ReadFailure failure = platform::File::lastReadFailure();
  EXPECT_FALSE(missing.isOpen());
  EXPECT_EQ(failure.kind, platform::File::ReadFailure::Kind::missing);
  EXPECT_EQ(failure.text, "");

  const fs::path path = folder_.path() / "held.txt";
  writeFile(path, "x");
  if (std::shared_ptr<void> held = holdWithoutSharing(path)) {
    platform::File file = platform::File::openForReading(utf8(path));
    failure = platform::File::lastReadFailure();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(failure.kind, platform::File::ReadFailure::Kind::heldByAnotherProgram);
  }
  if (!hasFileModes()) return;
  fs::permissions(path, fs::perms::none);
  // Root reads every file; the opening thread gives that up.
  ASSERT_TRUE(runBoundByFileModes([&] {
    platform::File file = platform::File::openForReading(utf8(path));
    failure = platform::File::lastReadFailure();
    EXPECT_FALSE(file.isOpen());
  }));
  EXPECT_EQ(failure.kind, platform::File::ReadFailure::Kind::other);
  EXPECT_EQ(failure.text, "Permission denied");
}

TEST_F(FileTest, ItsContentStampChangesWithItsContent) {
  const fs::path path = folder_.path() / "stamped.txt";
  writeFile(path, "first");
  platform::File file = platform::File::openForReading(utf8(path));
  const std::optional<platform::File::ContentStamp> first = file.contentStamp();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 5);
  EXPECT_EQ(file.contentStamp(), first);
  ASSERT_TRUE(platform::File::openForAppending(utf8(path)).write("+"));
  const std::optional<platform::File::ContentStamp> second = file.contentStamp();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->size, 6);
  EXPECT_GE(second->lastWrite, first->lastWrite);
  EXPECT_FALSE(platform::File().contentStamp());
}
