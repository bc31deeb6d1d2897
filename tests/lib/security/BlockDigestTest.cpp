#include "lib/security/BlockDigest.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "lib/security/Md5.h"
#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"

namespace {

// A compression that only keeps the last block it was given, so that the
// padding of a message of many gigabytes can be looked at in no time.
template <typename Algorithm>
class LastBlock {
 public:
  static constexpr std::size_t blockSize = Algorithm::blockSize;
  static constexpr std::size_t digestSize = blockSize;

  void compress(const std::uint8_t* blocks, std::size_t blockCount) {
    std::memcpy(last_.data(), blocks + (blockCount - 1) * blockSize, blockSize);
  }
  static auto lengthField(std::uint64_t byteCount) { return Algorithm::lengthField(byteCount); }
  std::array<std::uint8_t, digestSize> digestBytes() const { return last_; }

 private:
  std::array<std::uint8_t, blockSize> last_{};
};

template <typename Algorithm>
std::array<std::uint8_t, Algorithm::blockSize> lastBlockOf(std::uint64_t messageSize) {
  security::BlockDigest<LastBlock<Algorithm>> digest;
  const std::vector<std::uint8_t> chunk(std::size_t{1} << 20);
  for (; messageSize >= chunk.size(); messageSize -= chunk.size()) digest.update(chunk.data(), chunk.size());
  digest.update(chunk.data(), messageSize);
  return digest.finish();
}

}  // namespace

TEST(BlockDigest, CountsMessagesOfFourGibibytesAndMore) {
  // 5 GiB + 3 bytes: 0xA'0000'0018 bits.
  const std::uint64_t size = (std::uint64_t{5} << 30) + 3;

  const auto md5 = lastBlockOf<security::Md5>(size);
  const std::uint8_t md5Length[] = {0x18, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00};
  EXPECT_EQ(0, std::memcmp(md5.data() + 56, md5Length, 8));
  EXPECT_EQ(md5[3], 0x80);

  const auto sha1 = lastBlockOf<security::Sha1>(size);
  const std::uint8_t sha1Length[] = {0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x18};
  EXPECT_EQ(0, std::memcmp(sha1.data() + 56, sha1Length, 8));

  const auto sha512 = lastBlockOf<security::Sha512>(size);
  const std::uint8_t sha512Length[] = {0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x18};
  EXPECT_EQ(0, std::memcmp(sha512.data() + 112, sha512Length, 16));
}

TEST(BlockDigest, KeepsTheBitsBeyondSixtyFourForSha512) {
  // 2^61 + 1 bytes are 2^64 + 8 bits: the count's upper half holds 1.
  const auto field = security::Sha512::lengthField((std::uint64_t{1} << 61) + 1);
  const std::array<std::uint8_t, 16> expected{0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 8};
  EXPECT_EQ(field, expected);
}
