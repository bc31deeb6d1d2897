#include "daemon/JobLauncher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HeldCommand.h"
#include "InTemporaryFolder.h"
#include "RecordedLog.h"

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
    launcher.start(Process("echo late> late.txt", log.sink()));
  }
  ASSERT_TRUE(HeldCommand::release());
  EXPECT_FALSE(fs::exists("late.txt"));
  EXPECT_EQ(log.records(), std::vector<std::string>{"Starting " + held});
}
