// What plandek-check tells of a long schedule file, in the system's own zone
// (Europe/Berlin, summer time included).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "check/FindingPrinter.h"
#include "check/NextStarts.h"
#include "check/ScheduleCheck.h"
#include "check/SystemZone.h"
#include "tests/support/SchedulesFromText.h"

namespace {

using namespace std::chrono;

// Schedules of the kinds people write, with varied numbers, now and then one
// never due or due in leap years only.
std::vector<std::string> scheduleTexts(std::size_t count) {
  std::mt19937 random(42);
  const auto below = [&](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
  std::vector<std::string> texts;
  texts.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    const std::string clock = std::to_string(below(60)) + " " + std::to_string(below(24));
    switch (below(10)) {
      case 0: texts.push_back("*/" + std::to_string(1 + below(30)) + " * * * *"); break;
      case 1: texts.push_back(std::to_string(below(60)) + " * * * *"); break;
      case 2: texts.push_back(clock + " * * *"); break;
      case 3: texts.push_back(clock + " * * 1-5"); break;
      case 4: texts.push_back(clock + " " + std::to_string(1 + below(28)) + " * *"); break;
      case 5: texts.push_back(clock + " 1 " + std::to_string(1 + below(12)) + " *"); break;
      case 6: texts.push_back(std::to_string(below(60)) + " 2 * * 0"); break;
      case 7: texts.push_back("0 0 30 2 *"); break;
      case 8: texts.push_back(clock + " 29 2 *"); break;
      default: texts.push_back("@reboot"); break;
    }
  }
  return texts;
}

void putZone() {
  static std::string assignment = "TZ=Europe/Berlin";
  ::putenv(assignment.data());
}

const sys_seconds from = sys_days(2027y / January / 15) + hours(9);

// What `plandek-check --next 3 FILE` does with a file of that many lines, but
// for writing to the console: the file read as plandek reads it, every
// finding, description, next starts and summer-time note, all printed.
void CheckOfAFile(benchmark::State& state) {
  putZone();
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("plandek-check-bench-" + std::to_string(std::random_device()()) + ".dat");
  {
    std::ofstream out(file, std::ios::binary);
    std::size_t line = 0;
    for (const std::string& text : scheduleTexts(static_cast<std::size_t>(state.range(0)))) {
      out << text << " /usr/local/bin/job-" << ++line << " --quiet\n";
    }
  }
  std::size_t printed = 0;
  for (auto _ : state) {
    // A new zone each run: its offset changes are found once per file.
    const check::SystemZone zone;
    const check::CheckSettings settings{
        .from = from, .nextStartCount = 3, .zone = zone, .system = check::SystemAnswers::ofThisSystem()};
    printed += check::printedFindings(file.string(), check::checkScheduleFile(file.string(), settings)).size();
  }
  std::filesystem::remove(file);
  benchmark::DoNotOptimize(printed);
  state.counters["lines"] = static_cast<double>(state.range(0));
}
BENCHMARK(CheckOfAFile)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Entries that are never due, rarely due, or due every minute: answered from
// the fields and by stepping days, not minutes.
void NextStartsOfOneEntry(benchmark::State& state, const char* text) {
  putZone();
  const check::SystemZone zone;
  const schedule::CompiledSchedule compiled = scheduleOf(text);
  for (auto _ : state) benchmark::DoNotOptimize(check::nextStarts(compiled, from, 3, zone));
}
BENCHMARK_CAPTURE(NextStartsOfOneEntry, neverDue, "0 0 30 2 *")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NextStartsOfOneEntry, leapDaysOnMondays, "0 0 29 2 1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NextStartsOfOneEntry, leapDays, "0 0 29 2 *")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NextStartsOfOneEntry, everyMinute, "* * * * *")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
