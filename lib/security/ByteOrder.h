#pragma once

// Implementation details of the digests only.
// Written with shifts so that they hold on any processor; compilers turn each
// into one load or store, with a byte swap where the order differs.

#include <cstdint>

namespace security {

inline std::uint32_t loadLittleEndian32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[3]} << 24;
}

inline std::uint32_t loadBigEndian32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

inline std::uint64_t loadBigEndian64(const std::uint8_t* bytes) {
  return std::uint64_t{loadBigEndian32(bytes)} << 32 | loadBigEndian32(bytes + 4);
}

inline void storeLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void storeLittleEndian64(std::uint8_t* bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void storeBigEndian32(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

inline void storeBigEndian64(std::uint8_t* bytes, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (56 - 8 * i));
}

}  // namespace security
