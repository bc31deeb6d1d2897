// What plandek-check tells of each entry of a long schedule file, in the
// system's own zone (Europe/Berlin, summer time included): its description,
// its next three starts and its summer-time notes.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "check/NextStarts.h"
#include "check/ScheduleDescription.h"
#include "check/SystemZone.h"
#include "schedule/Cron.h"
#include "tests/support/SchedulesFromText.h"

namespace {

using namespace std::chrono;

// Schedules of the kinds people write, with varied numbers, now and then one
// never due or due in leap years only.
std::vector<schedule::Cron> entries(std::size_t count) {
  std::mt19937 random(42);
  const auto below = [&](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
  std::vector<schedule::Cron> crons;
  crons.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    const std::string clock = std::to_string(below(60)) + " " + std::to_string(below(24));
    std::string text;
    switch (below(10)) {
      case 0: text = "*/" + std::to_string(1 + below(30)) + " * * * *"; break;
      case 1: text = std::to_string(below(60)) + " * * * *"; break;
      case 2: text = clock + " * * *"; break;
      case 3: text = clock + " * * 1-5"; break;
      case 4: text = clock + " " + std::to_string(1 + below(28)) + " * *"; break;
      case 5: text = clock + " 1 " + std::to_string(1 + below(12)) + " *"; break;
      case 6: text = std::to_string(below(60)) + " 2 * * 0"; break;
      case 7: text = "0 0 30 2 *"; break;
      case 8: text = clock + " 29 2 *"; break;
      default: text = "@reboot"; break;
    }
    crons.push_back(cronOf(text, "job"));
  }
  return crons;
}

void putZone() {
  static std::string assignment = "TZ=Europe/Berlin";
  ::putenv(assignment.data());
}

const sys_seconds from = sys_days(2027y / January / 15) + hours(9);

// A whole file of 100,000 entries, each told in full, in one iteration.
void CheckOfAFile(benchmark::State& state) {
  putZone();
  const std::vector<schedule::Cron> crons = entries(static_cast<std::size_t>(state.range(0)));
  std::size_t lines = 0;
  for (auto _ : state) {
    // A new zone each run: the offset changes are found once per file.
    const check::SystemZone zone;
    for (const schedule::Cron& cron : crons) {
      lines += check::describeSchedule(cron).size() > 0;
      lines += check::nextStarts(cron.compiledSchedule(), from, 3, zone).size();
      lines += check::summerTimeNotes(cron.compiledSchedule(), from, zone).size();
    }
  }
  benchmark::DoNotOptimize(lines);
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(CheckOfAFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

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
