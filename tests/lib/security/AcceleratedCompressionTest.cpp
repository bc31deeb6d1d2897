#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lib/security/BlockDigest.h"
#include "lib/security/ProcessorFeatures.h"
#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"

// On a processor with the instructions, the native and Windows builds meet the
// portable compressions only here: the digests otherwise go through the
// accelerated ones alone.

namespace {

template <typename Algorithm>
struct Path {
  std::string name;
  typename Algorithm::CompressionFunction compression;
};

std::vector<Path<security::Sha1>> sha1Paths() { return {{"SHA instructions", security::sha1ShaInstructions()}}; }

std::vector<Path<security::Sha512>> sha512Paths() {
  return {{"AVX2", security::sha512Avx2Instructions()}, {"AVX-512", security::sha512Avx512Instructions()}};
}

template <typename Algorithm>
void expectTheSameStates(typename Algorithm::CompressionFunction accelerated) {
  std::mt19937_64 random(1995);
  for (std::size_t blockCount = 1; blockCount <= 40; ++blockCount) {
    std::vector<std::uint8_t> blocks(blockCount * Algorithm::blockSize);
    for (auto& byte : blocks) byte = static_cast<std::uint8_t>(random());
    typename Algorithm::State portable;
    for (auto& word : portable) word = static_cast<typename Algorithm::State::value_type>(random());
    typename Algorithm::State viaInstructions = portable;
    Algorithm::compressPortable(portable, blocks.data(), blockCount);
    accelerated(viaInstructions, blocks.data(), blockCount);
    EXPECT_EQ(viaInstructions, portable) << blockCount << " blocks";
  }
}

// Every length from empty to four blocks and a byte, then one message fed in
// random chunks: each ends in the padding at a different place and reaches
// the compression in a different run of whole blocks.
template <typename Algorithm>
void expectTheSameDigests(typename Algorithm::CompressionFunction accelerated) {
  constexpr std::size_t blockSize = Algorithm::blockSize;
  security::BlockDigest<Algorithm> viaInstructions{Algorithm(accelerated)};
  security::BlockDigest<Algorithm> portable{Algorithm(&Algorithm::compressPortable)};
  std::mt19937 random(2026);
  std::vector<std::uint8_t> message(4 * blockSize + 1);
  for (auto& byte : message) byte = static_cast<std::uint8_t>(random());

  for (std::size_t length = 0; length <= message.size(); ++length) {
    viaInstructions.update(message.data(), length);
    portable.update(message.data(), length);
    ASSERT_EQ(viaInstructions.finish(), portable.finish()) << length << " bytes";
  }

  portable.update(message.data(), message.size());
  const auto expected = portable.finish();
  for (int chunking = 0; chunking < 200; ++chunking) {
    std::string chunks;
    for (std::size_t fed = 0; fed < message.size();) {
      const std::size_t chunk = std::min<std::size_t>(random() % (2 * blockSize + 2), message.size() - fed);
      viaInstructions.update(message.data() + fed, chunk);
      fed += chunk;
      chunks += std::to_string(chunk) + " ";
    }
    ASSERT_EQ(viaInstructions.finish(), expected) << "chunks " << chunks;
  }
}

template <typename Algorithm>
void expectAgreement(const std::vector<Path<Algorithm>>& paths) {
  int tried = 0;
  for (const Path<Algorithm>& path : paths) {
    if (path.compression == nullptr) continue;
    SCOPED_TRACE(path.name);
    expectTheSameStates<Algorithm>(path.compression);
    expectTheSameDigests<Algorithm>(path.compression);
    ++tried;
  }
  if (tried == 0) GTEST_SKIP() << "no accelerated path in this build or processor";
}

}  // namespace

TEST(Sha1, AcceleratedAndPortableCompressionsAgree) { expectAgreement(sha1Paths()); }

TEST(Sha512, AcceleratedAndPortableCompressionsAgree) { expectAgreement(sha512Paths()); }

// Both builds carry the accelerated paths: a build that left them out would
// pass every digest test through the portable code alone.
TEST(ProcessorFeatures, EveryPathTheProcessorCanRunIsOffered) {
  const security::ProcessorFeatures& processor = security::ProcessorFeatures::ofThisProcessor();
  EXPECT_EQ(security::sha1ShaInstructions() != nullptr, processor.sha && processor.ssse3 && processor.sse41);
  const bool bitManipulation = processor.bmi1 && processor.bmi2;
  EXPECT_EQ(security::sha512Avx2Instructions() != nullptr, processor.avx2 && bitManipulation);
  EXPECT_EQ(security::sha512Avx512Instructions() != nullptr,
            processor.avx512f && processor.avx512vl && processor.avx2 && bitManipulation);
  std::printf("SHA-1 %s, SHA-512 %s\n",
              security::Sha1::chosenCompression() == &security::Sha1::compressPortable ? "portable" : "accelerated",
              security::Sha512::chosenCompression() == &security::Sha512::compressPortable ? "portable" : "accelerated");
}
