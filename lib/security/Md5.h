#pragma once

// Implementation details of tqMessageDigest only.

#include <array>
#include <cstddef>
#include <cstdint>

namespace security {

// The MD5 compression function and chaining values of RFC 1321.
class Md5 {
 public:
  static constexpr std::size_t blockSize = 64;
  static constexpr std::size_t digestSize = 16;

  void compress(const std::uint8_t* blocks, std::size_t blockCount);
  // The message length in bits modulo 2^64, least significant byte first.
  static std::array<std::uint8_t, 8> lengthField(std::uint64_t byteCount);
  std::array<std::uint8_t, digestSize> digestBytes() const;

 private:
  std::array<std::uint32_t, 4> state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
};

}  // namespace security
