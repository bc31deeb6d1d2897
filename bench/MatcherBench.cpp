#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "lib/util/tqList.h"
#include "schedule/Cron.h"
#include "schedule/DueEntries.h"
#include "schedule/PassPlanner.h"
#include "schedule/ScheduleMatcher.h"
#include "tests/support/SchedulesFromText.h"

// Counts every allocation of the program, to show that a pass allocates nothing.
namespace {
std::size_t allocationCount = 0;
}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
  ++allocationCount;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// Schedules of the kinds people write, with varied numbers.
std::vector<schedule::Cron> entries(std::size_t count) {
  std::mt19937 random(42);
  const auto below = [&](int bound) {
    return std::uniform_int_distribution<int>(0, bound - 1)(random);
  };
  std::vector<schedule::Cron> crons;
  crons.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    const std::string minute = std::to_string(below(60));
    const std::string hour = std::to_string(below(24));
    std::string schedule;
    switch (below(8)) {
      case 0:
        schedule.append("*/").append(std::to_string(1 + below(30))).append(" * * * *");
        break;
      case 1:
        schedule.append(minute).append(" * * * *");
        break;
      case 2:
        schedule.append(minute).append(" ").append(hour).append(" * * *");
        break;
      case 3:
        schedule.append(minute).append(" ").append(hour).append(" * * 1-5");
        break;
      case 4:
        schedule.append(minute).append(" ").append(hour).append(" ");
        schedule.append(std::to_string(1 + below(28))).append(" * *");
        break;
      case 5:
        schedule = "0,15,30,45 8-18/2 * 1-6,9-12 0,6";
        break;
      case 6:
        schedule = "5-59/10 */3 1-15 * *";
        break;
      default:
        schedule = "@reboot";
        break;
    }
    crons.push_back(cronOf(schedule, std::string("job").append(std::to_string(index)).append(".bat")));
  }
  return crons;
}

// One scheduler pass: the time decoded once, then every entry asked.
void CompiledPass(benchmark::State& state) {
  const std::vector<schedule::Cron> crons = entries(static_cast<std::size_t>(state.range(0)));
  using namespace std::chrono;
  const schedule::LocalMinute now = local_days(2024y / September / 4) + 10h + 30min;
  const std::size_t allocationsBefore = allocationCount;
  std::size_t due = 0;
  for (auto _ : state) {
    const schedule::ScheduleTime time = schedule::ScheduleTime::of(now);
    due = 0;
    for (const schedule::Cron& cron : crons) due += cron.compiledSchedule().isDue(time) ? 1 : 0;
    benchmark::DoNotOptimize(due);
  }
  const std::size_t allocations = allocationCount - allocationsBefore;
  state.counters["allocations"] = static_cast<double>(allocations);
  state.counters["due"] = static_cast<double>(due);
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(CompiledPass)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The same pass on the texts, parsed anew for every entry: what compiling saves.
void TextualPass(benchmark::State& state) {
  const std::vector<schedule::Cron> crons = entries(static_cast<std::size_t>(state.range(0)));
  const double now = tqDateSerial::fromFields(2024, 9, 4, 10, 30).value();
  for (auto _ : state) {
    std::size_t due = 0;
    for (const schedule::Cron& cron : crons) due += schedule::matches(cron.schedule(), now) ? 1 : 0;
    benchmark::DoNotOptimize(due);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(TextualPass)->Arg(100000)->Unit(benchmark::kMillisecond);

// The daemon's pass as it runs: the planner names the minutes, every entry of
// the list is asked for each. Argument: minutes since the last pass, 1 for the
// normal pass, 180 for the largest catch-up after a clock set forward.
void PlannedPass(benchmark::State& state) {
  tqList<schedule::Cron> crons;
  for (const schedule::Cron& cron : entries(100000)) crons.add(cron);
  using namespace std::chrono;
  const schedule::LocalMinute last = local_days(2024y / September / 4) + 10h;
  const schedule::LocalMinute now = last + minutes(state.range(0));
  std::size_t due = 0;
  for (auto _ : state) {
    schedule::PassPlanner planner;
    planner.plan(last);
    due = 0;
    for (const schedule::MinuteToMatch& minute : planner.plan(now)) {
      schedule::forEachDueEntry(crons, minute, [&due](const schedule::Cron&) { ++due; });
    }
    benchmark::DoNotOptimize(due);
  }
  state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(PlannedPass)->Arg(1)->Arg(180)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
