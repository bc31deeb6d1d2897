#include "lib/security/Sha1.h"

#include <bit>

#include "lib/security/ByteOrder.h"

namespace security {

namespace {

// The round functions of FIPS 180 with their constants, one per twenty rounds.
struct Choose {
  static constexpr std::uint32_t constant = 0x5a827999;
  static std::uint32_t apply(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return d ^ (b & (c ^ d)); }
};
struct Parity {
  static constexpr std::uint32_t constant = 0x6ed9eba1;
  static std::uint32_t apply(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return b ^ c ^ d; }
};
struct Majority {
  static constexpr std::uint32_t constant = 0x8f1bbcdc;
  // The two masks are disjoint, so their sum is their union.
  static std::uint32_t apply(std::uint32_t b, std::uint32_t c, std::uint32_t d) { return (b & c) + (d & (b ^ c)); }
};
struct LastParity : Parity {
  static constexpr std::uint32_t constant = 0xca62c1d6;
};

// The sixteen most recent schedule words, word i at i % 16.
using Schedule = std::uint32_t[16];

inline std::uint32_t scheduleWord(Schedule& word, int i) {
  if (i < 16) return word[i];
  word[i & 15] = std::rotl(word[(i + 13) & 15] ^ word[(i + 8) & 15] ^ word[(i + 2) & 15] ^ word[i & 15], 1);
  return word[i & 15];
}

// One round; the callers rotate the roles of the five variables instead of
// moving their values.
template <typename Function>
inline void round(std::uint32_t a, std::uint32_t& b, std::uint32_t c, std::uint32_t d, std::uint32_t& e,
                  std::uint32_t word) {
  e += std::rotl(a, 5) + Function::apply(b, c, d) + Function::constant + word;
  b = std::rotl(b, 30);
}

template <typename Function>
inline void fiveRounds(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c, std::uint32_t& d, std::uint32_t& e,
                       Schedule& word, int first) {
  round<Function>(a, b, c, d, e, scheduleWord(word, first));
  round<Function>(e, a, b, c, d, scheduleWord(word, first + 1));
  round<Function>(d, e, a, b, c, scheduleWord(word, first + 2));
  round<Function>(c, d, e, a, b, scheduleWord(word, first + 3));
  round<Function>(b, c, d, e, a, scheduleWord(word, first + 4));
}

}  // namespace

void Sha1::compress(const std::uint8_t* blocks, std::size_t blockCount) { compression_(state_, blocks, blockCount); }

Sha1::CompressionFunction Sha1::chosenCompression() {
  static const CompressionFunction chosen = [] {
    const CompressionFunction accelerated = sha1ShaInstructions();
    return accelerated != nullptr ? accelerated : &compressPortable;
  }();
  return chosen;
}

void Sha1::compressPortable(State& state, const std::uint8_t* blocks, std::size_t blockCount) {
  std::uint32_t a = state[0];
  std::uint32_t b = state[1];
  std::uint32_t c = state[2];
  std::uint32_t d = state[3];
  std::uint32_t e = state[4];
  for (; blockCount != 0; --blockCount, blocks += blockSize) {
    Schedule word;
    for (int i = 0; i < 16; ++i) word[i] = loadBigEndian32(blocks + 4 * i);
    const State start{a, b, c, d, e};

    fiveRounds<Choose>(a, b, c, d, e, word, 0);
    fiveRounds<Choose>(a, b, c, d, e, word, 5);
    fiveRounds<Choose>(a, b, c, d, e, word, 10);
    fiveRounds<Choose>(a, b, c, d, e, word, 15);
    fiveRounds<Parity>(a, b, c, d, e, word, 20);
    fiveRounds<Parity>(a, b, c, d, e, word, 25);
    fiveRounds<Parity>(a, b, c, d, e, word, 30);
    fiveRounds<Parity>(a, b, c, d, e, word, 35);
    fiveRounds<Majority>(a, b, c, d, e, word, 40);
    fiveRounds<Majority>(a, b, c, d, e, word, 45);
    fiveRounds<Majority>(a, b, c, d, e, word, 50);
    fiveRounds<Majority>(a, b, c, d, e, word, 55);
    fiveRounds<LastParity>(a, b, c, d, e, word, 60);
    fiveRounds<LastParity>(a, b, c, d, e, word, 65);
    fiveRounds<LastParity>(a, b, c, d, e, word, 70);
    fiveRounds<LastParity>(a, b, c, d, e, word, 75);

    a += start[0];
    b += start[1];
    c += start[2];
    d += start[3];
    e += start[4];
  }
  state = {a, b, c, d, e};
}

std::array<std::uint8_t, 8> Sha1::lengthField(std::uint64_t byteCount) {
  std::array<std::uint8_t, 8> field;
  storeBigEndian64(field.data(), byteCount << 3);
  return field;
}

std::array<std::uint8_t, Sha1::digestSize> Sha1::digestBytes() const {
  std::array<std::uint8_t, digestSize> digest;
  for (std::size_t i = 0; i < state_.size(); ++i) storeBigEndian32(digest.data() + 4 * i, state_[i]);
  return digest;
}

}  // namespace security
