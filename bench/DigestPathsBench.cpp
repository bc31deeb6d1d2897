// Throughput of the compression each digest chose on this processor against
// the portable one, on 16 KiB messages: the median of five repetitions of
// half a second each. A plain program rather than a Google Benchmark one, so
// that the Windows build has it too; under wine it runs the processor's own
// instructions, so the ratios hold even where the absolute figures do not.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lib/security/BlockDigest.h"
#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"

namespace {

// Written, never read: keeps the digests from being optimised away.
volatile std::uint8_t digestSink = 0;

const std::vector<std::uint8_t>& message() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::mt19937 random(16384);
    std::vector<std::uint8_t> text(16 * 1024);
    for (auto& byte : text) byte = static_cast<std::uint8_t>(random());
    return text;
  }();
  return bytes;
}

// Bytes per second, the median of five runs of at least `runTime` each.
template <typename Algorithm>
double medianThroughput(typename Algorithm::CompressionFunction compression, std::chrono::duration<double> runTime) {
  security::BlockDigest<Algorithm> digest{Algorithm(compression)};
  std::vector<double> throughputs;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    std::chrono::duration<double> elapsed{};
    std::size_t messages = 0;
    for (; elapsed < runTime; elapsed = std::chrono::steady_clock::now() - start) {
      for (int i = 0; i < 16; ++i, ++messages) {
        digest.update(message().data(), message().size());
        digestSink = digest.finish()[0];
      }
    }
    throughputs.push_back(static_cast<double>(messages * message().size()) / elapsed.count());
  }
  std::nth_element(throughputs.begin(), throughputs.begin() + 2, throughputs.end());
  return throughputs[2];
}

template <typename Algorithm>
void report(const char* algorithm, const char* chosenPath, std::chrono::duration<double> runTime) {
  const double chosen = medianThroughput<Algorithm>(Algorithm::chosenCompression(), runTime) / 1e6;
  const double portable = medianThroughput<Algorithm>(&Algorithm::compressPortable, runTime) / 1e6;
  std::printf("%-8s %-17s %8.1f MB/s  portable %8.1f MB/s  ratio chosen/portable %.3f\n", algorithm, chosenPath, chosen,
              portable, chosen / portable);
}

const char* sha1PathName() {
  return security::Sha1::chosenCompression() == security::sha1ShaInstructions() ? "SHA instructions" : "portable";
}

const char* sha512PathName() {
  const auto chosen = security::Sha512::chosenCompression();
  if (chosen == security::sha512Avx512Instructions()) return "AVX-512";
  if (chosen == security::sha512Avx2Instructions()) return "AVX2";
  return "portable";
}

}  // namespace

// An optional argument sets each run's length in seconds (0.5 by default).
int main(int argc, char** argv) {
  const std::chrono::duration<double> runTime(argc > 1 ? std::stod(argv[1]) : 0.5);
  std::printf("16 KiB messages, MB/s (10^6 bytes), median of 5 runs:\n");
  report<security::Sha1>("SHA-1", sha1PathName(), runTime);
  report<security::Sha512>("SHA-512", sha512PathName(), runTime);
  return 0;
}
