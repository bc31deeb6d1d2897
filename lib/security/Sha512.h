#pragma once

// Implementation details of tqMessageDigest only.

#include <array>
#include <cstddef>
#include <cstdint>

namespace security {

// The SHA-512 compression function and chaining values of FIPS 180.
class Sha512 {
 public:
  static constexpr std::size_t blockSize = 128;
  static constexpr std::size_t digestSize = 64;
  using State = std::array<std::uint64_t, 8>;
  using CompressionFunction = void (*)(State& state, const std::uint8_t* blocks, std::size_t blockCount);

  // Through the fastest compression this processor offers.
  Sha512() : compression_(chosenCompression()) {}
  // Through `compression`, for comparing one with another.
  explicit Sha512(CompressionFunction compression) : compression_(compression) {}

  void compress(const std::uint8_t* blocks, std::size_t blockCount);
  // The message length in bits as a 128-bit count, most significant byte first.
  static std::array<std::uint8_t, 16> lengthField(std::uint64_t byteCount);
  std::array<std::uint8_t, digestSize> digestBytes() const;

  // The plain C++ compression, used where those instructions are missing.
  static void compressPortable(State& state, const std::uint8_t* blocks, std::size_t blockCount);
  // The accelerated compression where the processor has its instructions,
  // otherwise the portable one; chosen once.
  static CompressionFunction chosenCompression();

 private:
  CompressionFunction compression_;
  State state_{0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
               0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
};

// The compressions with the message schedule in vector registers, through
// AVX2, BMI1 and BMI2, or those and AVX-512 (F and VL) on x86-64; null where
// the processor lacks them or the build does not include them.
Sha512::CompressionFunction sha512Avx2Instructions();
Sha512::CompressionFunction sha512Avx512Instructions();

}  // namespace security
