#include <bit>
#include <cstring>
#include <utility>

#include "lib/security/ProcessorFeatures.h"
#include "lib/security/Sha512.h"
#include "lib/security/Sha512Rounds.h"

// Built for x86-64 only. The compression is written once, in plain C++ with
// the compiler's vector types, and compiled twice through the two functions at
// the end, each carrying its instruction set as its own target: with AVX-512
// the compiler turns the rotations into single instructions and the three-way
// exclusive ors into one. The rest of the program still runs on processors
// without them; these are reached only after asking the processor.
//
// The rounds are the portable ones. The message schedule is what differs: the
// sixteen most recent words stay in eight vector registers, two words each,
// and every pair of rounds computes the next two words for the group of
// sixteen rounds after the current one.

namespace security {

namespace {

using WordPair = std::uint64_t __attribute__((vector_size(16)));
using SixteenBytes = std::uint8_t __attribute__((vector_size(16)));

template <int count>
[[gnu::always_inline]] inline WordPair rotateRight(WordPair words) {
  return (words >> count) | (words << (64 - count));
}

[[gnu::always_inline]] inline WordPair smallSigma0(WordPair words) {
  return rotateRight<1>(words) ^ rotateRight<8>(words) ^ (words >> 7);
}

[[gnu::always_inline]] inline WordPair smallSigma1(WordPair words) {
  return rotateRight<19>(words) ^ rotateRight<61>(words) ^ (words >> 6);
}

// The upper word of `lower`, then the lower word of `upper`.
[[gnu::always_inline]] inline WordPair straddle(WordPair lower, WordPair upper) {
  return __builtin_shufflevector(lower, upper, 1, 2);
}

[[gnu::always_inline]] inline WordPair loadPair(const void* bytes) {
  WordPair words;
  std::memcpy(&words, bytes, sizeof words);
  return words;
}

[[gnu::always_inline]] inline void storePair(std::uint64_t* words, WordPair pair) {
  std::memcpy(words, &pair, sizeof pair);
}

// Two big-endian message words.
[[gnu::always_inline]] inline WordPair loadMessagePair(const std::uint8_t* bytes) {
  SixteenBytes pair;
  std::memcpy(&pair, bytes, sizeof pair);
  return std::bit_cast<WordPair>(
      __builtin_shufflevector(pair, pair, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8));
}

// Rounds 2p and 2p + 1 of the group, reading their words plus constants from
// `wordPlusConstant`, whose two slots then take the next group's words 2p and
// 2p + 1 plus theirs (`nextConstant`). `window` holds the current group's
// sixteen schedule words, pair p at index p; the next group's pair replaces it.
template <int pair, bool extend>
[[gnu::always_inline]] inline void twoRounds(std::uint64_t (&v)[8], std::uint64_t& bXorC, WordPair (&window)[8],
                                             std::uint64_t* wordPlusConstant, const std::uint64_t* nextConstant) {
  sha512::round<(2 * pair) % 8>(v, bXorC, wordPlusConstant[2 * pair]);
  sha512::round<(2 * pair + 1) % 8>(v, bXorC, wordPlusConstant[2 * pair + 1]);
  if constexpr (extend) {
    // Words t - 16, t - 15, t - 7 and t - 2 for the new words t and t + 1.
    const WordPair back16 = window[pair];
    const WordPair back15 = straddle(window[pair], window[(pair + 1) % 8]);
    const WordPair back7 = straddle(window[(pair + 4) % 8], window[(pair + 5) % 8]);
    const WordPair back2 = window[(pair + 7) % 8];
    const WordPair next = (back16 + smallSigma0(back15)) + (back7 + smallSigma1(back2));
    window[pair] = next;
    storePair(wordPlusConstant + 2 * pair, next + loadPair(nextConstant + 2 * pair));
  }
}

template <bool extend, int... pair>
[[gnu::always_inline]] inline void sixteenRounds(std::uint64_t (&v)[8], std::uint64_t& bXorC, WordPair (&window)[8],
                                                 std::uint64_t* wordPlusConstant, const std::uint64_t* nextConstant,
                                                 std::integer_sequence<int, pair...>) {
  (twoRounds<pair, extend>(v, bXorC, window, wordPlusConstant, nextConstant), ...);
}

[[gnu::always_inline]] inline void compressWithVectorSchedule(Sha512::State& state, const std::uint8_t* blocks,
                                                              std::size_t blockCount) {
  constexpr auto pairs = std::make_integer_sequence<int, 8>();
  std::uint64_t v[8];
  for (int i = 0; i < 8; ++i) v[i] = state[i];
  std::uint64_t wordPlusConstant[16];
  for (; blockCount != 0; --blockCount, blocks += Sha512::blockSize) {
    WordPair window[8];
    for (int p = 0; p < 8; ++p) {
      window[p] = loadMessagePair(blocks + 16 * p);
      storePair(wordPlusConstant + 2 * p, window[p] + loadPair(sha512::roundConstant + 2 * p));
    }
    std::uint64_t bXorC = v[1] ^ v[2];
    for (int first = 16; first < 80; first += 16) {
      sixteenRounds<true>(v, bXorC, window, wordPlusConstant, sha512::roundConstant + first, pairs);
    }
    sixteenRounds<false>(v, bXorC, window, wordPlusConstant, nullptr, pairs);
    for (int i = 0; i < 8; ++i) {
      state[i] += v[i];
      v[i] = state[i];
    }
  }
}

[[gnu::target("avx2,bmi,bmi2")]] void compressWithAvx2(Sha512::State& state, const std::uint8_t* blocks,
                                                        std::size_t blockCount) {
  compressWithVectorSchedule(state, blocks, blockCount);
}

[[gnu::target("avx512f,avx512vl,avx2,bmi,bmi2")]] void compressWithAvx512(Sha512::State& state,
                                                                          const std::uint8_t* blocks,
                                                                          std::size_t blockCount) {
  compressWithVectorSchedule(state, blocks, blockCount);
}

}  // namespace

Sha512::CompressionFunction sha512Avx2Instructions() {
  const ProcessorFeatures& processor = ProcessorFeatures::ofThisProcessor();
  return processor.avx2 && processor.bmi1 && processor.bmi2 ? &compressWithAvx2 : nullptr;
}

Sha512::CompressionFunction sha512Avx512Instructions() {
  const ProcessorFeatures& processor = ProcessorFeatures::ofThisProcessor();
  const bool available = processor.avx512f && processor.avx512vl && processor.avx2 && processor.bmi1 && processor.bmi2;
  return available ? &compressWithAvx512 : nullptr;
}

}  // namespace security
