#include <immintrin.h>

#include <utility>

#include "lib/security/Sha512.h"
#include "lib/security/Sha512Rounds.h"

// Built for x86-64 only. The functions here carry AVX2, BMI1 and BMI2 as
// their own target, so the rest of the program still runs on processors
// without them; they are reached only after asking the processor.
//
// The rounds are the portable ones, compiled with three-operand rotations.
// The message schedule is what differs: the sixteen most recent words stay in
// eight vector registers, two words each, and every pair of rounds computes
// the next two words for the group of sixteen rounds after the current one.

namespace security {

namespace {

[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline __m128i rotateRight(__m128i words, int count) {
  return _mm_or_si128(_mm_srli_epi64(words, count), _mm_slli_epi64(words, 64 - count));
}

[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline __m128i smallSigma0(__m128i words) {
  return _mm_xor_si128(_mm_xor_si128(rotateRight(words, 1), rotateRight(words, 8)), _mm_srli_epi64(words, 7));
}

[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline __m128i smallSigma1(__m128i words) {
  return _mm_xor_si128(_mm_xor_si128(rotateRight(words, 19), rotateRight(words, 61)), _mm_srli_epi64(words, 6));
}

[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline __m128i loadPair(const std::uint64_t* words) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(words));
}

// Rounds 2p and 2p + 1 of the group, reading their words plus constants from
// `wordPlusConstant`, whose two slots then take the next group's words 2p and
// 2p + 1 plus theirs (`nextConstant`). `window` holds the current group's
// sixteen schedule words, pair p at index p; the next group's pair replaces it.
template <int pair, bool extend>
[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline void twoRounds(std::uint64_t (&v)[8],
                                                                          std::uint64_t& bXorC,
                                                                          __m128i (&window)[8],
                                                                          std::uint64_t* wordPlusConstant,
                                                                          const std::uint64_t* nextConstant) {
  sha512::round<(2 * pair) % 8>(v, bXorC, wordPlusConstant[2 * pair]);
  sha512::round<(2 * pair + 1) % 8>(v, bXorC, wordPlusConstant[2 * pair + 1]);
  if constexpr (extend) {
    // Words t - 16, t - 15, t - 7 and t - 2 for the new words t and t + 1.
    const __m128i back16 = window[pair];
    const __m128i back15 = _mm_alignr_epi8(window[(pair + 1) % 8], window[pair], 8);
    const __m128i back7 = _mm_alignr_epi8(window[(pair + 5) % 8], window[(pair + 4) % 8], 8);
    const __m128i back2 = window[(pair + 7) % 8];
    const __m128i next =
        _mm_add_epi64(_mm_add_epi64(back16, smallSigma0(back15)), _mm_add_epi64(back7, smallSigma1(back2)));
    window[pair] = next;
    _mm_store_si128(reinterpret_cast<__m128i*>(wordPlusConstant + 2 * pair),
                    _mm_add_epi64(next, loadPair(nextConstant + 2 * pair)));
  }
}

template <bool extend, int... pair>
[[gnu::target("avx2,bmi,bmi2"), gnu::always_inline]] inline void sixteenRounds(
    std::uint64_t (&v)[8], std::uint64_t& bXorC, __m128i (&window)[8], std::uint64_t* wordPlusConstant,
    const std::uint64_t* nextConstant, std::integer_sequence<int, pair...>) {
  (twoRounds<pair, extend>(v, bXorC, window, wordPlusConstant, nextConstant), ...);
}

[[gnu::target("avx2,bmi,bmi2")]] void compressWithAvx2(Sha512::State& state, const std::uint8_t* blocks,
                                                        std::size_t blockCount) {
  // Reverses the bytes of each 64-bit word: the message is big-endian.
  const __m128i byteOrder = _mm_set_epi8(8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
  constexpr auto pairs = std::make_integer_sequence<int, 8>();
  std::uint64_t v[8];
  for (int i = 0; i < 8; ++i) v[i] = state[i];
  alignas(16) std::uint64_t wordPlusConstant[16];
  for (; blockCount != 0; --blockCount, blocks += Sha512::blockSize) {
    __m128i window[8];
    for (int p = 0; p < 8; ++p) {
      window[p] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * p)), byteOrder);
      _mm_store_si128(reinterpret_cast<__m128i*>(wordPlusConstant + 2 * p),
                      _mm_add_epi64(window[p], loadPair(sha512::roundConstant + 2 * p)));
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

}  // namespace

Sha512::CompressionFunction sha512Avx2Instructions() {
  __builtin_cpu_init();
  const bool available =
      __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
  return available ? &compressWithAvx2 : nullptr;
}

}  // namespace security
