#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"

// On a processor with the instructions, the native tests meet the portable
// compressions only here; the Windows build always runs them.

namespace {

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

}  // namespace

TEST(Sha1, ShaInstructionsAndPortableCodeAgree) {
  const auto accelerated = security::sha1ShaInstructions();
  if (accelerated == nullptr) GTEST_SKIP() << "no SHA instructions in this build or processor";
  expectTheSameStates<security::Sha1>(accelerated);
}

TEST(Sha512, Avx2AndPortableCodeAgree) {
  const auto accelerated = security::sha512Avx2Instructions();
  if (accelerated == nullptr) GTEST_SKIP() << "no AVX2 and BMI in this build or processor";
  expectTheSameStates<security::Sha512>(accelerated);
}
