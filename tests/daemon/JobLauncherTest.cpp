#include "daemon/JobLauncher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "HeldCommand.h"
#include "InTemporaryFolder.h"
#include "RecordedLog.h"
#include "platform/Command.h"

namespace plandek {

namespace {

namespace fs = std::filesystem;

class JobLauncherTest : public InTemporaryFolder {};

}  // namespace

TEST_F(JobLauncherTest, ReportsTheStartThenRunsTheCommand) {
  RecordedLog log;
  JobLauncher launcher;
  ASSERT_TRUE(launcher.start(Process("echo ran> \"ran here.txt\"", log.sink())));
  ASSERT_TRUE(awaitFile("ran here.txt"));
  launcher.close();
  EXPECT_EQ(log.records(), std::vector<std::string>{"Starting echo ran> \"ran here.txt\""});
}

TEST_F(JobLauncherTest, CloseLeavesRunningCommandsAloneAndStartsNoMore) {
  const std::string held = HeldCommand::commandLine();
  RecordedLog log;
  {
    JobLauncher launcher;
    ASSERT_TRUE(launcher.start(Process(held, log.sink())));
    ASSERT_TRUE(HeldCommand::awaitStart());
    launcher.close();
    EXPECT_FALSE(HeldCommand::hasEnded());
    EXPECT_FALSE(launcher.start(Process("echo late> late.txt", log.sink())));
  }
  ASSERT_TRUE(HeldCommand::release());
  EXPECT_FALSE(fs::exists("late.txt"));
  EXPECT_EQ(log.records(), std::vector<std::string>{"Starting " + held});
}

TEST_F(JobLauncherTest, AStartThatDidNotHappenIsSaidAfterItsStartingRecordAndStopsNothing) {
  RecordedLog log;
  std::vector<std::string> tried;
  JobLauncher launcher([&tried](std::string_view commandLine, const platform::CommandEnvironment&) {
    tried.emplace_back(commandLine);
    return commandLine == "missing" ? std::string("no interpreter /nowhere: No such file or directory")
                                    : std::string();
  });
  EXPECT_TRUE(launcher.start(Process("first", log.sink())));
  EXPECT_FALSE(launcher.start(Process("missing", log.sink())));
  EXPECT_TRUE(launcher.start(Process("after", log.sink())));
  EXPECT_EQ(tried, (std::vector<std::string>{"first", "missing", "after"}));
  EXPECT_EQ(log.records(),
            (std::vector<std::string>{"Starting first", "Starting missing",
                                      "Could not start (no interpreter /nowhere: No such file or directory): missing",
                                      "Starting after"}));
}

TEST_F(JobLauncherTest, StartsOnTheCallingThreadAfterItsReport) {
  RecordedLog log;
  std::thread::id startedOn;
  std::size_t recordsBeforeTheStart = 0;
  JobLauncher launcher([&](std::string_view, const platform::CommandEnvironment&) {
    startedOn = std::this_thread::get_id();
    recordsBeforeTheStart = log.records().size();
    return std::string();
  });
  ASSERT_TRUE(launcher.start(Process("run", log.sink())));
  // A running job costs the daemon no thread of its own.
  EXPECT_EQ(startedOn, std::this_thread::get_id());
  EXPECT_EQ(recordsBeforeTheStart, 1U);
}

TEST_F(JobLauncherTest, RunsTheCommandInItsProcesssEnvironment) {
  RecordedLog log;
  std::vector<platform::CommandEnvironment::Setting> handedOver;
  JobLauncher launcher([&handedOver](std::string_view, const platform::CommandEnvironment& environment) {
    handedOver = environment.settings();
    return std::string();
  });
  const std::vector<platform::CommandEnvironment::Setting> settings = {{"SHELL", "/bin/bash"}, {"A", "1"}};
  ASSERT_TRUE(launcher.start(Process("run", log.sink(), platform::CommandEnvironment(settings))));
  EXPECT_EQ(handedOver, settings);
}

TEST_F(JobLauncherTest, ALineWithAZeroByteIsSaidNotToStart) {
  RecordedLog log;
  JobLauncher launcher;
  const std::string command("echo a\0b> zero.txt", 18);
  EXPECT_FALSE(launcher.start(Process(command, log.sink())));
  EXPECT_EQ(log.records(), (std::vector<std::string>{"Starting " + command,
                                                     "Could not start (the command holds a zero byte): " + command}));
}

}  // namespace plandek
