#include "daemon/JobLauncher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HeldCommand.h"
#include "InTemporaryFolder.h"
#include "RecordedLog.h"
#include "platform/Command.h"

namespace {

namespace fs = std::filesystem;

class JobLauncherTest : public InTemporaryFolder {};

// Makes threads as the system would, but fails the starts it is told to.
struct FailingThreadStarts {
  std::vector<int> failing;
  int calls = 0;

  bool operator()(std::function<void()> body) {
    if (std::find(failing.begin(), failing.end(), ++calls) != failing.end()) return false;
    std::thread(std::move(body)).detach();
    return true;
  }
};

std::vector<std::string> sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

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
    launcher.start(Process("echo late> late.txt", log.sink()));
  }
  ASSERT_TRUE(HeldCommand::release());
  EXPECT_FALSE(fs::exists("late.txt"));
  EXPECT_EQ(log.records(), std::vector<std::string>{"Starting " + held});
}

TEST_F(JobLauncherTest, AThreadThatCannotBeMadeLosesOnlyItsOwnStart) {
  RecordedLog log;
  // Held by every copy of the lost job: nothing of it may be left behind.
  const auto lostJobsShare = std::make_shared<int>();
  DaemonLog lostJobsLog = [share = lostJobsShare, sink = log.sink()](std::string_view message,
                                                                     const std::vector<std::string>& parameters) {
    sink(message, parameters);
  };
  JobLauncher launcher(FailingThreadStarts{{2}}, platform::runCommand);
  EXPECT_TRUE(launcher.start(Process("echo one> one.txt", log.sink())));
  EXPECT_FALSE(launcher.start(Process("echo two> two.txt", std::move(lostJobsLog))));
  EXPECT_TRUE(launcher.start(Process("echo three> three.txt", log.sink())));
  EXPECT_EQ(lostJobsShare.use_count(), 1);
  ASSERT_TRUE(awaitFile("one.txt"));
  ASSERT_TRUE(awaitFile("three.txt"));
  launcher.close();
  EXPECT_FALSE(fs::exists("two.txt"));
  EXPECT_EQ(sorted(log.records()), (std::vector<std::string>{"Starting echo one> one.txt",
                                                             "Starting echo three> three.txt"}));
}

TEST_F(JobLauncherTest, ACommandThatCannotBeStartedStopsNothing) {
  RecordedLog log;
  // Leaves a mark where the system would have failed to start the interpreter.
  const auto runUnlessMissing = [](std::string_view commandLine, const platform::CommandEnvironment& environment) {
    if (commandLine != "missing") return platform::runCommand(commandLine, environment);
    std::ofstream("tried.txt") << "tried";
    return false;
  };
  JobLauncher launcher(FailingThreadStarts{}, runUnlessMissing);
  EXPECT_TRUE(launcher.start(Process("missing", log.sink())));
  EXPECT_TRUE(launcher.start(Process("echo after> after.txt", log.sink())));
  ASSERT_TRUE(awaitFile("tried.txt"));
  ASSERT_TRUE(awaitFile("after.txt"));
  launcher.close();
  EXPECT_EQ(sorted(log.records()), (std::vector<std::string>{"Starting echo after> after.txt", "Starting missing"}));
}

TEST_F(JobLauncherTest, RunsTheCommandInItsProcesssEnvironment) {
  RecordedLog log;
  std::vector<platform::CommandEnvironment::Setting> handedOver;
  JobLauncher launcher([](std::function<void()> body) { body(); return true; },
                       [&handedOver](std::string_view, const platform::CommandEnvironment& environment) {
                         handedOver = environment.settings();
                         return true;
                       });
  const std::vector<platform::CommandEnvironment::Setting> settings = {{"SHELL", "/bin/bash"}, {"A", "1"}};
  ASSERT_TRUE(launcher.start(Process("run", log.sink(), platform::CommandEnvironment(settings))));
  EXPECT_EQ(handedOver, settings);
}
