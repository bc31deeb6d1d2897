#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "lib/util/logging/tqFileHandler.h"
#include "lib/util/logging/tqLogRecord.h"
#include "lib/util/logging/tqLogger.h"
#include "platform/File.h"

namespace {

std::string utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// One log file and one handler for every benchmark and thread, as the
// daemon's job threads share one; removed when the program ends.
struct SharedLog {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "tqFileHandlerBench.log";
  tqFileHandler handler{utf8(path), 0, 0, false};

  ~SharedLog() {
    handler.close();
    std::filesystem::remove(path);
  }
};

SharedLog& sharedLog() {
  static SharedLog log;
  return log;
}

// The daemon's path for each started job: the thread's logger copy builds the
// record, the handler formats it and hands it to the system before log returns.
void logThroughOneFileHandler(benchmark::State& state) {
  tqLogger logger = tqLogger::getLogger("plandek");
  logger.addHandler(sharedLog().handler);
  for (auto _ : state) logger.log(tqLevel::SEVERE, "Starting {0}", "nightly.bat");
  state.SetItemsProcessed(state.iterations());
}

// The handler's share of it: formatting and the write.
void publishThroughOneFileHandler(benchmark::State& state) {
  tqLogRecord record(tqLevel::SEVERE, "Starting {0}");
  record.setParameters({"nightly.bat"});
  record.setLoggerName("plandek");
  for (auto _ : state) sharedLog().handler.publish(record);
  state.SetItemsProcessed(state.iterations());
}

// The floor: one write of a record's length to an appended file, nothing else.
void appendOneRecordsBytes(benchmark::State& state) {
  platform::File file = platform::File::openForAppending(utf8(sharedLog().path));
  const std::string bytes = "12-08-2026 21:09:00 plandek\r\nSEVERE: Starting nightly.bat\r\n";
  for (auto _ : state) file.write(bytes);
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(logThroughOneFileHandler)->Threads(1)->Threads(8)->UseRealTime();
BENCHMARK(publishThroughOneFileHandler)->Threads(1)->Threads(8)->UseRealTime();
BENCHMARK(appendOneRecordsBytes)->Threads(1)->Threads(8)->UseRealTime();

BENCHMARK_MAIN();
