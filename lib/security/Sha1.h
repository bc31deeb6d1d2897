#pragma once

// Implementation details of tqMessageDigest only.

#include <array>
#include <cstddef>
#include <cstdint>

namespace security {

// The SHA-1 compression function and chaining values of FIPS 180.
class Sha1 {
 public:
  static constexpr std::size_t blockSize = 64;
  static constexpr std::size_t digestSize = 20;
  using State = std::array<std::uint32_t, 5>;
  using CompressionFunction = void (*)(State& state, const std::uint8_t* blocks, std::size_t blockCount);

  // Through the fastest compression this processor offers.
  Sha1() : compression_(chosenCompression()) {}
  // Through `compression`, for comparing one with another.
  explicit Sha1(CompressionFunction compression) : compression_(compression) {}

  void compress(const std::uint8_t* blocks, std::size_t blockCount);
  // The message length in bits modulo 2^64, most significant byte first.
  static std::array<std::uint8_t, 8> lengthField(std::uint64_t byteCount);
  std::array<std::uint8_t, digestSize> digestBytes() const;

  // The plain C++ compression, used where there are no SHA instructions.
  static void compressPortable(State& state, const std::uint8_t* blocks, std::size_t blockCount);
  // The accelerated compression where the processor has its instructions,
  // otherwise the portable one; chosen once.
  static CompressionFunction chosenCompression();

 private:
  CompressionFunction compression_;
  State state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};
};

// The compression through the x86-64 SHA instructions; null where the
// processor lacks them or the build does not include them.
Sha1::CompressionFunction sha1ShaInstructions();

}  // namespace security
