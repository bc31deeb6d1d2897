#include "lib/util/logging/tqFileHandler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "lib/lang/tqException.h"
#include "lib/util/logging/tqLogRecord.h"
#include "platform/File.h"
#include "tests/support/ConsoleCapture.h"
#include "tests/support/FileContent.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/Utf8Path.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

struct RecordFields {
  const tqLevel& level;
  std::string message;
  std::vector<String> parameters;
  std::string loggerName = "plandek";
  std::string sourceClass = "";
  std::string sourceMethod = "";
  int second = 0;
};

// A record at 8 December 2026, 21:09, at the given second.
tqLogRecord recordOf(const RecordFields& fields) {
  tqLogRecord record(fields.level, fields.message);
  record.setParameters(fields.parameters);
  record.setLoggerName(fields.loggerName);
  record.setSourceClassName(fields.sourceClass);
  record.setSourceMethodName(fields.sourceMethod);
  record.setTime(tqDateSerial::fromFields(2026, 12, 8, 21, 9, fields.second).value());
  return record;
}

class tqFileHandlerTest : public WithTemporaryFolder {
 protected:
  const std::string log_ = folder_.file("plandek.log");
};

// Whether a file deleted while open here either leaves its name at once or
// says that its delete is pending. Wine does neither: its name opens the
// doomed file as if nothing had happened, until its last handle closes.
bool aDeleteShows(const std::string& probe) {
  const platform::File file = platform::File::openForAppending(probe);
  std::error_code error;
  std::filesystem::remove(pathOf(probe), error);
  const bool shows = file.isDeletePending() ||
                     platform::File::identityAt(probe).outcome == platform::File::NameLookup::Outcome::absent;
  return !error && shows;
}

}  // namespace

TEST_F(tqFileHandlerTest, WritesTheLogLayoutOverAHandlersLife) {
  {
    tqFileHandler handler(log_);
    EXPECT_EQ(contentOf(log_), "") << "nothing is written on opening";
    handler.publish(recordOf({tqLevel::SEVERE, "Starting {0}", {"nightly.bat"}}));
    EXPECT_EQ(contentOf(log_), "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: Starting nightly.bat\r\n");
    // An empty logger name leaves the trailing blank; trailing CR LF pairs go.
    handler.publish(recordOf({tqLevel::SEVERE, "Reloaded crons -> {0}\r\n\r\n", {"[a, b]"}, "", "", "", 5}));
    // A source class stands for the logger name, the method follows it.
    handler.publish(recordOf({tqLevel::INFO, "tick", {}, "plandek", "Sched", "run", 59}));
    handler.publish(recordOf({tqLevel::CONFIG, "{0}", {}, "plandek", "", "run"}));
    // A lone LF or CR at the end stays.
    handler.publish(recordOf({tqLevel::FINE, "lf\n", {}}));
    handler.close();
    handler.close();
    handler.publish(recordOf({tqLevel::SEVERE, "after close", {}}));
  }
  const std::string firstRun =
      "\r\n"
      "12-08-2026 21:09:00 plandek\r\nSEVERE: Starting nightly.bat\r\n"
      "12-08-2026 21:09:05 \r\nSEVERE: Reloaded crons -> [a, b]\r\n"
      "12-08-2026 21:09:59 Sched run\r\nINFO: tick\r\n"
      "12-08-2026 21:09:00 plandek run\r\nCONFIG: {0}\r\n"
      "12-08-2026 21:09:00 plandek\r\nFINE: lf\n\r\n"
      "\r\n";
  EXPECT_EQ(contentOf(log_), firstRun);

  // The next run appends: a new empty line before its first record, and the
  // destructor closes.
  {
    tqFileHandler handler(log_);
    handler.publish(recordOf({tqLevel::SEVERE, "again", {}}));
  }
  const std::string secondRun = firstRun + "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: again\r\n\r\n";
  EXPECT_EQ(contentOf(log_), secondRun);

  // A handler that writes nothing still closes with its empty line.
  { tqFileHandler handler(log_); }
  EXPECT_EQ(contentOf(log_), secondRun + "\r\n");
}

TEST(tqHandler, WritesRecordsUntrimmedToTheConsole) {
  tqHandler handler;
  const std::string output = consoleOutputOf([&] {
    handler.publish(recordOf({tqLevel::SEVERE, "Starting {0}\r\n", {"nightly.bat"}}));
    handler.setLevel(tqLevel::OFF);
    handler.publish(recordOf({tqLevel::SEVERE, "dropped", {}}));
  });
  EXPECT_EQ(output, asReadBackInTextMode("12-08-2026 21:09:00 plandek\r\nSEVERE: Starting nightly.bat\r\n\r\n"));
  // A copy is a plain handler with the same level.
  const tqHandler copy = handler;
  EXPECT_EQ(copy.getLevel().intValue(), tqLevel::OFF.intValue());
}

TEST_F(tqFileHandlerTest, WritingFromScratchEmptiesTheFile) {
  writeFile(log_, "old content\r\n");
  tqFileHandler handler(log_, 0, 0, false);
  EXPECT_EQ(contentOf(log_), "");
  handler.publish(recordOf({tqLevel::SEVERE, "new", {}}));
  handler.close();
  EXPECT_EQ(contentOf(log_), "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: new\r\n\r\n");
}

TEST_F(tqFileHandlerTest, AThrowableFollowsAsItsTextForm) {
  tqLogRecord record = recordOf({tqLevel::WARNING, "failed", {}});
  record.setThrown(tqException("Open error"));
  tqFileHandler handler(log_);
  handler.publish(record);
  handler.close();
  EXPECT_EQ(contentOf(log_), "\r\n12-08-2026 21:09:00 plandek\r\nWARNING: failed\r\ntqThrowable: Open error\r\n\r\n");
}

TEST_F(tqFileHandlerTest, TheHandlersLevelDropsLowerRecords) {
  tqFileHandler handler(log_);
  handler.setLevel(tqLevel::WARNING);
  handler.publish(recordOf({tqLevel::INFO, "dropped", {}}));
  handler.publish(recordOf({tqLevel::WARNING, "kept", {}}));
  handler.setLevel(tqLevel::OFF);
  handler.publish(recordOf({tqLevel::SEVERE, "dropped", {}}));
  handler.close();
  EXPECT_EQ(contentOf(log_), "\r\n12-08-2026 21:09:00 plandek\r\nWARNING: kept\r\n\r\n");
}

TEST_F(tqFileHandlerTest, ClosingOneHandlerLeavesTheOthersOpen) {
  const std::string other = folder_.file("other.log");
  tqFileHandler first(log_);
  tqFileHandler second(other);
  first.close();
  second.publish(recordOf({tqLevel::SEVERE, "still open", {}}));
  second.close();
  EXPECT_EQ(contentOf(log_), "\r\n");
  EXPECT_EQ(contentOf(other), "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: still open\r\n\r\n");
}

TEST_F(tqFileHandlerTest, AFileThatCannotBeOpenedIsReportedOnTheConsole) {
  const std::string inMissingFolder = folder_.file("missing") + "/plandek.log";
  const std::string output = consoleOutputOf([&] {
    tqFileHandler handler(inMissingFolder);
    handler.publish(recordOf({tqLevel::SEVERE, "lost", {}}));
    handler.close();
  });
  EXPECT_EQ(output, asReadBackInTextMode("tqErrorManager: 4: Open error\r\nOpen error\r\n\r\n"));
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "missing"));
}

TEST_F(tqFileHandlerTest, ALogMovedAwayIsOpenedAfreshAtItsName) {
  const std::string moved = folder_.file("moved.log");
  tqFileHandler handler(log_);
  handler.publish(recordOf({tqLevel::SEVERE, "first", {}}));
  std::filesystem::rename(log_, moved);
  // A new open: the empty line comes first again.
  handler.publish(recordOf({tqLevel::SEVERE, "second", {}}));
  handler.publish(recordOf({tqLevel::SEVERE, "third", {}}));
  EXPECT_EQ(contentOf(moved), "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: first\r\n");
  EXPECT_EQ(contentOf(log_),
            "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: second\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: third\r\n");
}

TEST_F(tqFileHandlerTest, ALogDeletedWhileOpenIsStartedAfreshAtItsName) {
  // Where a deleted file keeps its name until its last handle closes (FAT
  // drives, older Windows), nothing but the handler's own close frees it.
  if (!aDeleteShows(folder_.file("probe.log"))) GTEST_SKIP() << "this system does not tell a deleted file";
  tqFileHandler handler(log_);
  handler.publish(recordOf({tqLevel::SEVERE, "first", {}}));
  std::filesystem::remove(pathOf(log_));
  handler.publish(recordOf({tqLevel::SEVERE, "second", {}}));
  handler.publish(recordOf({tqLevel::SEVERE, "third", {}}));
  handler.close();
  EXPECT_EQ(contentOf(log_),
            "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: second\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: third\r\n"
            "\r\n");
}

TEST_F(tqFileHandlerTest, ALogThatCannotBeOpenedAfreshIsReportedAndTheOldOneKept) {
  const std::string moved = folder_.file("moved.log");
  tqFileHandler handler(log_);
  std::filesystem::rename(log_, moved);
  std::filesystem::create_directory(log_);
  const std::string output =
      consoleOutputOf([&] { handler.publish(recordOf({tqLevel::SEVERE, "kept", {}})); });
  EXPECT_EQ(output, asReadBackInTextMode("tqErrorManager: 4: Open error\r\nOpen error\r\n\r\n"));
  EXPECT_EQ(contentOf(moved), "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: kept\r\n");
}

TEST_F(tqFileHandlerTest, ALogWhoseNameCannotBeLookedUpGoesOnInTheFileOpen) {
  // The log's folder made unsearchable: the name tells nothing, and the file
  // open is still the log.
  namespace fs = std::filesystem;
  const fs::path logFolder = folder_.path() / "logs";
  fs::create_directory(logFolder);
  const std::string log = utf8(logFolder / "plandek.log");
  tqFileHandler handler(log);
  handler.publish(recordOf({tqLevel::SEVERE, "first", {}}));
  fs::permissions(logFolder, fs::perms::none);
  bool lookupFailed = false;
  std::string output;
  const bool bound = runBoundByFileModes([&] {
    std::error_code error;
    lookupFailed = fs::status(pathOf(log), error).type() == fs::file_type::none && error == std::errc::permission_denied;
    output = consoleOutputOf([&] {
      handler.publish(recordOf({tqLevel::SEVERE, "second", {}}));
      handler.publish(recordOf({tqLevel::SEVERE, "third", {}}));
    });
  });
  fs::permissions(logFolder, fs::perms::owner_all);
  if (!bound || !lookupFailed) GTEST_SKIP() << "file modes do not keep this process from looking names up";
  EXPECT_EQ(output, "");
  EXPECT_EQ(contentOf(log),
            "\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: first\r\n12-08-2026 21:09:00 plandek\r\nSEVERE: second\r\n"
            "12-08-2026 21:09:00 plandek\r\nSEVERE: third\r\n");
}

TEST_F(tqFileHandlerTest, WithoutAFreeHandleRecordsGoToTheConsole) {
  if (std::getenv("PLANDEK_EXHAUST_HANDLES") == nullptr) GTEST_SKIP() << "PLANDEK_EXHAUST_HANDLES not set";
  writeFile(log_, "");
  const std::string output = consoleOutputOf([&] {
    std::vector<platform::File> held;
    for (platform::File file; (file = platform::File::openForReading(log_)).isOpen();) held.push_back(std::move(file));
    tqFileHandler handler(log_);
    held.clear();
    handler.publish(recordOf({tqLevel::SEVERE, "to the console", {}}));
    handler.close();
  });
  EXPECT_EQ(output, asReadBackInTextMode("tqErrorManager: 4: Open error\r\nFile handle error\r\n\r\n"
                                         "tqErrorManager: 4: Open error\r\nOpen error\r\n\r\n"
                                         "12-08-2026 21:09:00 plandek\r\nSEVERE: to the console\r\n"
                                         "\r\n"));
  EXPECT_EQ(contentOf(log_), "");
}

TEST_F(tqFileHandlerTest, ARecordThatDoesNotFitIsCutBackAndEachSpellOfFailuresReportedOnce) {
  // Earlier runs' records keep the limits far above anything the console's
  // capture writes.
  std::string earlier;
  while (earlier.size() < 4096) earlier += "12-07-2026 10:00:00 plandek\r\nSEVERE: Starting backup.cmd\r\n";
  writeFile(log_, earlier);
  tqFileHandler handler(log_);
  const auto record = [](std::string_view message) {
    return recordOf({tqLevel::SEVERE, std::string(message), {}});
  };
  // The file's size now and `bytes` more.
  const auto room = [&](std::int64_t bytes) { return static_cast<std::int64_t>(contentOf(log_).size()) + bytes; };
  bool limited = true;
  const auto publishLimitedTo = [&](std::int64_t limit, std::initializer_list<std::string_view> messages) {
    limited = limited && runWithFilesLimitedTo(limit, [&] {
                for (const std::string_view message : messages) handler.publish(record(message));
              });
  };
  const std::string output = consoleOutputOf([&] {
    // The empty line and the record together do not fit: neither stays, and
    // the empty line waits for the next record.
    publishLimitedTo(room(10), {"no room"});
    handler.publish(record("room again"));
    // Two failures, one spell: one report.
    publishLimitedTo(room(20), {"part of it fits", "none of it fits"});
    handler.publish(record("room again"));
    // Not even the first byte fits.
    publishLimitedTo(room(0), {"at the limit"});
    handler.close();
  });
  if (!limited) GTEST_SKIP() << "this system cannot limit the size of a process's files";
  const std::string report = "tqErrorManager: 1: Write error\r\nWrite error\r\n\r\n";
  EXPECT_EQ(output, asReadBackInTextMode(report + report + report));
  EXPECT_EQ(contentOf(log_), earlier +
                                 "\r\n"
                                 "12-08-2026 21:09:00 plandek\r\nSEVERE: room again\r\n"
                                 "12-08-2026 21:09:00 plandek\r\nSEVERE: room again\r\n"
                                 "\r\n");
}
