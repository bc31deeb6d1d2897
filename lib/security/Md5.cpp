#include "lib/security/Md5.h"

#include <bit>

#include "lib/security/ByteOrder.h"

namespace security {

namespace {

// Each step adds the message word and constant first and the function of the
// previous steps last: only the newest word `b` lies on the chain from one step
// to the next. The bitwise selections are written as sums of disjoint masks
// where that shortens the chain.
inline std::uint32_t stepF(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusConstant, int shift) {
  return std::rotl(a + wordPlusConstant + (d ^ (b & (c ^ d))), shift) + b;
}

inline std::uint32_t stepG(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusConstant, int shift) {
  return std::rotl(a + wordPlusConstant + (c & ~d) + (b & d), shift) + b;
}

inline std::uint32_t stepH(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusConstant, int shift) {
  return std::rotl(a + wordPlusConstant + (b ^ (c ^ d)), shift) + b;
}

inline std::uint32_t stepI(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusConstant, int shift) {
  return std::rotl(a + wordPlusConstant + (c ^ (b | ~d)), shift) + b;
}

}  // namespace

void Md5::compress(const std::uint8_t* blocks, std::size_t blockCount) {
  std::uint32_t a = state_[0];
  std::uint32_t b = state_[1];
  std::uint32_t c = state_[2];
  std::uint32_t d = state_[3];
  for (; blockCount != 0; --blockCount, blocks += blockSize) {
    std::uint32_t word[16];
    for (int i = 0; i < 16; ++i) word[i] = loadLittleEndian32(blocks + 4 * i);
    const std::uint32_t startA = a;
    const std::uint32_t startB = b;
    const std::uint32_t startC = c;
    const std::uint32_t startD = d;

    // Round 1.
    a = stepF(a, b, c, d, word[0] + 0xd76aa478, 7);
    d = stepF(d, a, b, c, word[1] + 0xe8c7b756, 12);
    c = stepF(c, d, a, b, word[2] + 0x242070db, 17);
    b = stepF(b, c, d, a, word[3] + 0xc1bdceee, 22);
    a = stepF(a, b, c, d, word[4] + 0xf57c0faf, 7);
    d = stepF(d, a, b, c, word[5] + 0x4787c62a, 12);
    c = stepF(c, d, a, b, word[6] + 0xa8304613, 17);
    b = stepF(b, c, d, a, word[7] + 0xfd469501, 22);
    a = stepF(a, b, c, d, word[8] + 0x698098d8, 7);
    d = stepF(d, a, b, c, word[9] + 0x8b44f7af, 12);
    c = stepF(c, d, a, b, word[10] + 0xffff5bb1, 17);
    b = stepF(b, c, d, a, word[11] + 0x895cd7be, 22);
    a = stepF(a, b, c, d, word[12] + 0x6b901122, 7);
    d = stepF(d, a, b, c, word[13] + 0xfd987193, 12);
    c = stepF(c, d, a, b, word[14] + 0xa679438e, 17);
    b = stepF(b, c, d, a, word[15] + 0x49b40821, 22);
    // Round 2.
    a = stepG(a, b, c, d, word[1] + 0xf61e2562, 5);
    d = stepG(d, a, b, c, word[6] + 0xc040b340, 9);
    c = stepG(c, d, a, b, word[11] + 0x265e5a51, 14);
    b = stepG(b, c, d, a, word[0] + 0xe9b6c7aa, 20);
    a = stepG(a, b, c, d, word[5] + 0xd62f105d, 5);
    d = stepG(d, a, b, c, word[10] + 0x02441453, 9);
    c = stepG(c, d, a, b, word[15] + 0xd8a1e681, 14);
    b = stepG(b, c, d, a, word[4] + 0xe7d3fbc8, 20);
    a = stepG(a, b, c, d, word[9] + 0x21e1cde6, 5);
    d = stepG(d, a, b, c, word[14] + 0xc33707d6, 9);
    c = stepG(c, d, a, b, word[3] + 0xf4d50d87, 14);
    b = stepG(b, c, d, a, word[8] + 0x455a14ed, 20);
    a = stepG(a, b, c, d, word[13] + 0xa9e3e905, 5);
    d = stepG(d, a, b, c, word[2] + 0xfcefa3f8, 9);
    c = stepG(c, d, a, b, word[7] + 0x676f02d9, 14);
    b = stepG(b, c, d, a, word[12] + 0x8d2a4c8a, 20);
    // Round 3.
    a = stepH(a, b, c, d, word[5] + 0xfffa3942, 4);
    d = stepH(d, a, b, c, word[8] + 0x8771f681, 11);
    c = stepH(c, d, a, b, word[11] + 0x6d9d6122, 16);
    b = stepH(b, c, d, a, word[14] + 0xfde5380c, 23);
    a = stepH(a, b, c, d, word[1] + 0xa4beea44, 4);
    d = stepH(d, a, b, c, word[4] + 0x4bdecfa9, 11);
    c = stepH(c, d, a, b, word[7] + 0xf6bb4b60, 16);
    b = stepH(b, c, d, a, word[10] + 0xbebfbc70, 23);
    a = stepH(a, b, c, d, word[13] + 0x289b7ec6, 4);
    d = stepH(d, a, b, c, word[0] + 0xeaa127fa, 11);
    c = stepH(c, d, a, b, word[3] + 0xd4ef3085, 16);
    b = stepH(b, c, d, a, word[6] + 0x04881d05, 23);
    a = stepH(a, b, c, d, word[9] + 0xd9d4d039, 4);
    d = stepH(d, a, b, c, word[12] + 0xe6db99e5, 11);
    c = stepH(c, d, a, b, word[15] + 0x1fa27cf8, 16);
    b = stepH(b, c, d, a, word[2] + 0xc4ac5665, 23);
    // Round 4.
    a = stepI(a, b, c, d, word[0] + 0xf4292244, 6);
    d = stepI(d, a, b, c, word[7] + 0x432aff97, 10);
    c = stepI(c, d, a, b, word[14] + 0xab9423a7, 15);
    b = stepI(b, c, d, a, word[5] + 0xfc93a039, 21);
    a = stepI(a, b, c, d, word[12] + 0x655b59c3, 6);
    d = stepI(d, a, b, c, word[3] + 0x8f0ccc92, 10);
    c = stepI(c, d, a, b, word[10] + 0xffeff47d, 15);
    b = stepI(b, c, d, a, word[1] + 0x85845dd1, 21);
    a = stepI(a, b, c, d, word[8] + 0x6fa87e4f, 6);
    d = stepI(d, a, b, c, word[15] + 0xfe2ce6e0, 10);
    c = stepI(c, d, a, b, word[6] + 0xa3014314, 15);
    b = stepI(b, c, d, a, word[13] + 0x4e0811a1, 21);
    a = stepI(a, b, c, d, word[4] + 0xf7537e82, 6);
    d = stepI(d, a, b, c, word[11] + 0xbd3af235, 10);
    c = stepI(c, d, a, b, word[2] + 0x2ad7d2bb, 15);
    b = stepI(b, c, d, a, word[9] + 0xeb86d391, 21);

    a += startA;
    b += startB;
    c += startC;
    d += startD;
  }
  state_ = {a, b, c, d};
}

std::array<std::uint8_t, 8> Md5::lengthField(std::uint64_t byteCount) {
  std::array<std::uint8_t, 8> field;
  storeLittleEndian64(field.data(), byteCount << 3);
  return field;
}

std::array<std::uint8_t, Md5::digestSize> Md5::digestBytes() const {
  std::array<std::uint8_t, digestSize> digest;
  for (std::size_t i = 0; i < state_.size(); ++i) storeLittleEndian32(digest.data() + 4 * i, state_[i]);
  return digest;
}

}  // namespace security
