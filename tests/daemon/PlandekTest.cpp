#include "daemon/Plandek.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "HeldCommand.h"
#include "InTemporaryFolder.h"
#include "RecordedLog.h"
#include "tests/support/SystemFiles.h"

namespace plandek {

namespace {

class PlandekTest : public InTemporaryFolder {};

bool holds(const std::vector<std::string>& records, const std::string& record) {
  return std::find(records.begin(), records.end(), record) != records.end();
}

}  // namespace

TEST_F(PlandekTest, StartsUpRunsTheFirstPassAtOnceAndStopsWithoutWaitingForCommands) {
  const std::string held = HeldCommand::commandLine();
  std::ofstream("plandek.dat", std::ios::binary)
      << "@reboot " << held << "\r\n* * * * * echo minute>> minute.txt\r\nbad line\r\n";
  RecordedLog log;
  {
    Plandek plandek(log.sink());
    std::thread running([&plandek] { plandek.run(); });
    const bool started = HeldCommand::awaitStart() && awaitFile("minute.txt");
    plandek.requestStop();
    running.join();
    EXPECT_TRUE(started);
  }
  EXPECT_FALSE(HeldCommand::hasEnded());
  ASSERT_TRUE(HeldCommand::release());

  const std::vector<std::string> records = log.records();
  ASSERT_GE(records.size(), 4u);
  EXPECT_EQ(records[0], "Skipped line 3 (too few fields): bad line");
  EXPECT_EQ(records[1], "Reloaded crons -> [@reboot=" + held + ", * * * * *=echo minute>> minute.txt]");
  EXPECT_TRUE(holds(records, "Starting " + held));
  EXPECT_TRUE(holds(records, "Starting echo minute>> minute.txt"));
}

TEST_F(PlandekTest, WithoutAScheduleFileLoadsAnEmptyListAndStopsOnRequest) {
  RecordedLog log;
  {
    Plandek plandek(log.sink());
    plandek.requestStop();
    plandek.run();
  }
  EXPECT_EQ(log.records(), std::vector<std::string>{"Reloaded crons -> []"});
}

TEST_F(PlandekTest, AStopThatCameDuringTheFirstLoadStartsNothing) {
  std::ofstream("plandek.dat", std::ios::binary) << "@reboot echo boot> boot.txt\n* * * * * echo minute> minute.txt\n";
  RecordedLog log;
  {
    Plandek plandek(log.sink());
    plandek.requestStop();
    EXPECT_TRUE(plandek.run());
  }
  EXPECT_EQ(log.records(), std::vector<std::string>{
                               "Reloaded crons -> [@reboot=echo boot> boot.txt, * * * * *=echo minute> minute.txt]"});
}

TEST_F(PlandekTest, ASchedulerThatCannotStartIsLoggedAndRunFails) {
  std::ofstream("plandek.dat", std::ios::binary) << "* * * * * echo minute> minute.txt\n";
  RecordedLog log;
  {
    Plandek plandek(log.sink(), [](std::function<void()>) -> std::thread {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    EXPECT_FALSE(plandek.run());
  }
  const std::vector<std::string> records = log.records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], "Reloaded crons -> [* * * * *=echo minute> minute.txt]");
  EXPECT_EQ(records[1].rfind("Could not start the scheduler, stopping: ", 0), 0u) << records[1];
}

TEST_F(PlandekTest, RefusesAScheduleThatOtherUsersCanChange) {
  if (!hasFileModes()) GTEST_SKIP() << "no file modes: folder permissions guard the schedule";
  namespace fs = std::filesystem;
  const struct {
    const char* reason;
    std::function<bool()> expose;
  } cases[] = {
      {"writable by every user",
       [] {
         fs::permissions("plandek.dat", fs::perms::others_write, fs::perm_options::add);
         return true;
       }},
      {"owned by user 65534", [] { return giveToUser("plandek.dat", 65534); }},
  };
  for (const auto& testCase : cases) {
    fs::remove("plandek.dat");
    std::ofstream("plandek.dat", std::ios::binary) << "@reboot echo boot> boot.txt\n";
    if (!testCase.expose()) continue;  // giving files away takes root
    RecordedLog log;
    {
      Plandek plandek(log.sink());
      plandek.requestStop();
      EXPECT_TRUE(plandek.run());
    }
    EXPECT_EQ(log.records(), (std::vector<std::string>{std::string("Refused plandek.dat (") + testCase.reason + ")",
                                                        "Reloaded crons -> []"}));
  }
}

TEST_F(PlandekTest, RefusesAnUnreadableScheduleSayingWhy) {
  if (!hasFileModes()) GTEST_SKIP() << "no file modes";
  std::ofstream("plandek.dat", std::ios::binary) << "@reboot echo boot> boot.txt\n";
  std::filesystem::permissions("plandek.dat", std::filesystem::perms::none);
  RecordedLog log;
  // Root reads every file; the loading thread gives that up.
  ASSERT_TRUE(runBoundByFileModes([&log] {
    Plandek plandek(log.sink());
    plandek.requestStop();
    EXPECT_TRUE(plandek.run());
  }));
  EXPECT_EQ(log.records(), (std::vector<std::string>{"Refused plandek.dat (not readable: Permission denied)",
                                                      "Reloaded crons -> []"}));
}

TEST_F(PlandekTest, AScheduleAnotherProgramHoldsIsToldWithoutAReload) {
  std::ofstream("plandek.dat", std::ios::binary) << "@reboot echo boot> boot.txt\n";
  const std::shared_ptr<void> held = holdWithoutSharing("plandek.dat");
  if (!held) GTEST_SKIP() << "no program can keep others from reading a file here";
  RecordedLog log;
  {
    Plandek plandek(log.sink());
    plandek.requestStop();
    EXPECT_TRUE(plandek.run());
  }
  EXPECT_EQ(log.records(), std::vector<std::string>{"Refused plandek.dat (in use by another program)"});
}

}  // namespace plandek
