#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "lib/util/tqList.h"

namespace {

// Appending n texts and reading each back by index must grow linearly: the
// daemon keeps its schedule entries in such a list.
void appendThenReadByIndex(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  const String text = "*/15 * * * *=backup.bat";
  for (auto _ : state) {
    tqList<String> list;
    for (std::int64_t index = 0; index < count; ++index) list.add(text);
    std::size_t bytes = 0;
    for (std::int64_t index = 0; index < list.size(); ++index) bytes += list.get(index).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetComplexityN(count);
  state.SetItemsProcessed(state.iterations() * count);
}

void appendThenReadShorts(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  for (auto _ : state) {
    tqList<Short> list;
    for (std::int64_t index = 0; index < count; ++index) list.add(static_cast<Short>(index));
    std::int64_t sum = 0;
    for (std::int64_t index = 0; index < list.size(); ++index) sum += list.get(index);
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(count);
  state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(appendThenReadByIndex)->RangeMultiplier(10)->Range(10, 100'000)->Complexity(benchmark::oN);
BENCHMARK(appendThenReadShorts)->RangeMultiplier(10)->Range(10, 100'000)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
