#include "lib/security/Sha1.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// The native tests meet the portable SHA-1 code only here on a processor with
// SHA instructions; the Windows build always runs it.
TEST(Sha1, ShaInstructionsAndPortableCodeAgree) {
  const security::Sha1::CompressionFunction accelerated = security::sha1ShaInstructions();
  if (accelerated == nullptr) GTEST_SKIP() << "no SHA instructions in this build or processor";
  std::mt19937 random(1995);
  for (std::size_t blockCount = 1; blockCount <= 40; ++blockCount) {
    std::vector<std::uint8_t> blocks(blockCount * security::Sha1::blockSize);
    for (auto& byte : blocks) byte = static_cast<std::uint8_t>(random());
    security::Sha1::State portable;
    for (auto& word : portable) word = random();
    security::Sha1::State viaInstructions = portable;
    security::Sha1::compressPortable(portable, blocks.data(), blockCount);
    accelerated(viaInstructions, blocks.data(), blockCount);
    EXPECT_EQ(viaInstructions, portable) << blockCount << " blocks";
  }
}
