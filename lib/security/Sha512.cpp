#include "lib/security/Sha512.h"

#include <bit>

#include "lib/security/ByteOrder.h"
#include "lib/security/Sha512Rounds.h"

namespace security {

namespace {

// The sixteen most recent schedule words: word i of the message at i % 16.
using Schedule = std::uint64_t[16];

// Replaces word i - 16 at `slot` (i % 16) by word i of the schedule. The
// nested rotations need fewer register copies than three separate ones; their
// longer latency is hidden, as the schedule is off the rounds' chain.
inline std::uint64_t nextScheduleWord(Schedule& word, int slot) {
  const std::uint64_t older = word[(slot + 1) & 15];
  const std::uint64_t newer = word[(slot + 14) & 15];
  const std::uint64_t sigma0 = std::rotr(std::rotr(older, 7) ^ older, 1) ^ (older >> 7);
  const std::uint64_t sigma1 = std::rotr(std::rotr(newer, 42) ^ newer, 19) ^ (newer >> 6);
  word[slot] += sigma0 + word[(slot + 9) & 15] + sigma1;
  return word[slot];
}

template <bool extend>
inline std::uint64_t scheduleWord(Schedule& word, int slot) {
  if constexpr (extend) return nextScheduleWord(word, slot);
  return word[slot];
}

// Eight rounds. `slot` is 0 or 8, known when compiling, as are all the
// schedule indexes below it.
template <bool extend>
inline void eightRounds(std::uint64_t (&v)[8], std::uint64_t& bXorC, Schedule& word, const std::uint64_t* constant,
                        int slot) {
  sha512::round<0>(v, bXorC, scheduleWord<extend>(word, slot) + constant[slot]);
  sha512::round<1>(v, bXorC, scheduleWord<extend>(word, slot + 1) + constant[slot + 1]);
  sha512::round<2>(v, bXorC, scheduleWord<extend>(word, slot + 2) + constant[slot + 2]);
  sha512::round<3>(v, bXorC, scheduleWord<extend>(word, slot + 3) + constant[slot + 3]);
  sha512::round<4>(v, bXorC, scheduleWord<extend>(word, slot + 4) + constant[slot + 4]);
  sha512::round<5>(v, bXorC, scheduleWord<extend>(word, slot + 5) + constant[slot + 5]);
  sha512::round<6>(v, bXorC, scheduleWord<extend>(word, slot + 6) + constant[slot + 6]);
  sha512::round<7>(v, bXorC, scheduleWord<extend>(word, slot + 7) + constant[slot + 7]);
}

// Sixteen rounds with the constants from `constant` on.
template <bool extend>
inline void sixteenRounds(std::uint64_t (&v)[8], std::uint64_t& bXorC, Schedule& word, const std::uint64_t* constant) {
  eightRounds<extend>(v, bXorC, word, constant, 0);
  eightRounds<extend>(v, bXorC, word, constant, 8);
}

}  // namespace

void Sha512::compress(const std::uint8_t* blocks, std::size_t blockCount) {
  compression_(state_, blocks, blockCount);
}

Sha512::CompressionFunction Sha512::chosenCompression() {
  static const CompressionFunction chosen = [] {
    if (const CompressionFunction withAvx512 = sha512Avx512Instructions()) return withAvx512;
    if (const CompressionFunction withAvx2 = sha512Avx2Instructions()) return withAvx2;
    return &compressPortable;
  }();
  return chosen;
}

void Sha512::compressPortable(State& state, const std::uint8_t* blocks, std::size_t blockCount) {
  std::uint64_t v[8];
  for (int i = 0; i < 8; ++i) v[i] = state[i];
  for (; blockCount != 0; --blockCount, blocks += blockSize) {
    Schedule word;
    for (int i = 0; i < 16; ++i) word[i] = loadBigEndian64(blocks + 8 * i);
    std::uint64_t bXorC = v[1] ^ v[2];
    sixteenRounds<false>(v, bXorC, word, sha512::roundConstant);
    for (int first = 16; first < 80; first += 16) sixteenRounds<true>(v, bXorC, word, sha512::roundConstant + first);
    for (int i = 0; i < 8; ++i) {
      state[i] += v[i];
      v[i] = state[i];
    }
  }
}

std::array<std::uint8_t, 16> Sha512::lengthField(std::uint64_t byteCount) {
  std::array<std::uint8_t, 16> field;
  storeBigEndian64(field.data(), byteCount >> 61);
  storeBigEndian64(field.data() + 8, byteCount << 3);
  return field;
}

std::array<std::uint8_t, Sha512::digestSize> Sha512::digestBytes() const {
  std::array<std::uint8_t, digestSize> digest;
  for (std::size_t i = 0; i < state_.size(); ++i) storeBigEndian64(digest.data() + 8 * i, state_[i]);
  return digest;
}

}  // namespace security
