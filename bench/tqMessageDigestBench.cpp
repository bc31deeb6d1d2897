// Throughput of each digest on 16 KiB messages, ours and OpenSSL's side by
// side in one run, then the ratio ours / OpenSSL for each algorithm.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "lib/security/tqMessageDigest.h"

namespace {

struct Algorithm {
  std::string name;
  const EVP_MD* (*openSsl)();
};

const Algorithm algorithms[] = {{"MD5", EVP_md5}, {"SHA-1", EVP_sha1}, {"SHA-512", EVP_sha512}};

const std::string& message() {
  static const std::string bytes = [] {
    std::mt19937 random(16384);
    std::string text(16 * 1024, '\0');
    for (char& byte : text) byte = static_cast<char>(random());
    return text;
  }();
  return bytes;
}

void ours(benchmark::State& state, const std::string& algorithm) {
  tqMessageDigest digest(algorithm);
  for (auto _ : state) benchmark::DoNotOptimize(digest.digest(message()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message().size()));
}

void openSsl(benchmark::State& state, const EVP_MD* (*kind)()) {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  for (auto _ : state) {
    EVP_DigestInit_ex(context, kind(), nullptr);
    EVP_DigestUpdate(context, message().data(), message().size());
    EVP_DigestFinal_ex(context, digest, &size);
    benchmark::DoNotOptimize(digest);
  }
  EVP_MD_CTX_free(context);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * message().size()));
}

// The console report, keeping each benchmark's median throughput over its
// repetitions for the ratios: one slow repetition on a shared machine should
// not decide them.
class ThroughputReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const auto rate = run.counters.find("bytes_per_second");
      if (rate == run.counters.end()) continue;
      throughputs_[run.run_name.function_name].push_back(rate->second.value);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Median bytes per second; 0 when the benchmark did not run.
  double bytesPerSecond(const std::string& name) const {
    const auto found = throughputs_.find(name);
    if (found == throughputs_.end()) return 0;
    std::vector<double> rates = found->second;
    std::sort(rates.begin(), rates.end());
    const std::size_t middle = rates.size() / 2;
    return rates.size() % 2 != 0 ? rates[middle] : (rates[middle - 1] + rates[middle]) / 2;
  }

 private:
  std::map<std::string, std::vector<double>> throughputs_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Algorithm& algorithm : algorithms) {
    benchmark::RegisterBenchmark((algorithm.name + "/ours").c_str(), ours, algorithm.name);
    benchmark::RegisterBenchmark((algorithm.name + "/OpenSSL").c_str(), openSsl, algorithm.openSsl);
  }
  // Repetitions of ours and OpenSSL's in random order, unless told otherwise:
  // on a shared machine the load changes over seconds, and one side's
  // repetitions all run after the other's by default.
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleaving = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleaving.data());
  int argumentCount = static_cast<int>(arguments.size());
  benchmark::Initialize(&argumentCount, arguments.data());
  argc = argumentCount;
  argv = arguments.data();
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ThroughputReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n16 KiB messages, MB/s (10^6 bytes), medians:\n");
  for (const Algorithm& algorithm : algorithms) {
    const double mine = reporter.bytesPerSecond(algorithm.name + "/ours") / 1e6;
    const double theirs = reporter.bytesPerSecond(algorithm.name + "/OpenSSL") / 1e6;
    if (mine == 0 || theirs == 0) continue;
    std::printf("%-8s ours %7.1f  OpenSSL %7.1f  ratio ours/OpenSSL %.3f\n", algorithm.name.c_str(), mine, theirs,
                mine / theirs);
  }
  return 0;
}
