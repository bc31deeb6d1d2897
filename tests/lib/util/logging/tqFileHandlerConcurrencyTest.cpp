#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "lib/util/logging/tqFileHandler.h"
#include "lib/util/logging/tqLogger.h"
#include "tests/support/FileContent.h"
#include "tests/support/TemporaryFolder.h"

namespace {

constexpr int threadCount = 8;
constexpr int recordsPerThread = 10'000;

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(end + 2)) {
    lines.push_back(text.substr(0, end));
  }
  if (!text.empty()) lines.push_back(text);
  return lines;
}

bool isTimeStampThenName(std::string_view line, std::string_view name) {
  // "mm-dd-yyyy hh:mm:ss " is 20 bytes.
  return line.size() == 20 + name.size() && line[2] == '-' && line[5] == '-' && line[13] == ':' &&
         line[16] == ':' && line[19] == ' ' && line.substr(20) == name;
}

}  // namespace

// The daemon's job threads share one handler, each through its own copy of
// the daemon's logger.
TEST(tqFileHandlerConcurrency, EveryRecordOfEveryThreadArrivesWholeAndOnce) {
  const TemporaryFolder folder("tqFileHandlerConcurrency");
  const std::string log = folder.file("plandek.log");
  {
    tqFileHandler handler(log);
    tqLogger logger = tqLogger::getLogger("plandek");
    logger.addHandler(handler);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < threadCount; ++thread) {
      threads.emplace_back([thread, logger] {
        tqLogger own = logger;
        for (int record = 0; record < recordsPerThread; ++record) {
          own.log(tqLevel::SEVERE, "Starting {0}", "job-" + std::to_string(thread) + "-" + std::to_string(record));
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  }

  const std::string content = contentOf(log);
  const std::vector<std::string_view> lines = linesOf(content);
  ASSERT_EQ(lines.size(), 2u + 2u * threadCount * recordsPerThread);
  EXPECT_EQ(lines.front(), "") << "one empty line before the first record";
  EXPECT_EQ(lines.back(), "") << "one empty line at close";
  EXPECT_TRUE(content.ends_with("\r\n"));

  // Records of one thread keep their order, so the next expected number per
  // thread finds both a lost and a repeated record.
  std::vector<int> nextRecord(threadCount, 0);
  for (std::size_t at = 1; at + 1 < lines.size(); at += 2) {
    ASSERT_TRUE(isTimeStampThenName(lines[at], "plandek")) << "line " << at << ": " << lines[at];
    const std::string_view message = lines[at + 1];
    ASSERT_TRUE(message.starts_with("SEVERE: Starting job-")) << "line " << at + 1 << ": " << message;
    const std::string_view numbers = message.substr(std::string_view("SEVERE: Starting job-").size());
    const std::size_t dash = numbers.find('-');
    ASSERT_NE(dash, std::string_view::npos) << message;
    const int thread = std::stoi(std::string(numbers.substr(0, dash)));
    ASSERT_TRUE(thread >= 0 && thread < threadCount) << message;
    ASSERT_EQ(std::string(numbers.substr(dash + 1)), std::to_string(nextRecord[thread])) << message;
    ++nextRecord[thread];
  }
  EXPECT_EQ(nextRecord, std::vector<int>(threadCount, recordsPerThread));
}
