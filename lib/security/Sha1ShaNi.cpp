#include <immintrin.h>

#include <utility>

#include "lib/security/ProcessorFeatures.h"
#include "lib/security/Sha1.h"

// Built for x86-64 only. Every function here that uses the SHA extensions
// carries them as its own target, so the rest of the program still runs on
// processors without them; they are reached only after asking the processor.

namespace security {

namespace {

// Four rounds. Message words 4g to 4g + 3 replace words 4g - 16 to 4g - 13 in
// `message`; E of the group comes from A of the group before the previous one.
template <int group>
[[gnu::target("sha,sse4.1,ssse3"), gnu::always_inline]] inline void fourRounds(__m128i& abcd, __m128i& previousAbcd,
                                                                              __m128i (&message)[4]) {
  if constexpr (group >= 4) {
    const __m128i mixed = _mm_sha1msg1_epu32(message[group % 4], message[(group + 1) % 4]);
    message[group % 4] = _mm_sha1msg2_epu32(_mm_xor_si128(mixed, message[(group + 2) % 4]), message[(group + 3) % 4]);
  }
  const __m128i e = _mm_sha1nexte_epu32(previousAbcd, message[group % 4]);
  previousAbcd = abcd;
  abcd = _mm_sha1rnds4_epu32(abcd, e, group / 5);
}

template <int... group>
[[gnu::target("sha,sse4.1,ssse3"), gnu::always_inline]] inline void roundsAfterTheFirstFour(
    __m128i& abcd, __m128i& previousAbcd, __m128i (&message)[4], std::integer_sequence<int, group...>) {
  (fourRounds<group + 1>(abcd, previousAbcd, message), ...);
}

[[gnu::target("sha,sse4.1,ssse3")]] void compressWithShaInstructions(Sha1::State& state, const std::uint8_t* blocks,
                                                                      std::size_t blockCount) {
  // Reverses the bytes of the whole vector: big-endian words, word 0 in the top lane.
  const __m128i wordOrder = _mm_set_epi64x(0x0001020304050607, 0x08090a0b0c0d0e0f);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state.data())), 0x1b);
  __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
  for (; blockCount != 0; --blockCount, blocks += Sha1::blockSize) {
    const __m128i startAbcd = abcd;
    const __m128i startE = e;
    __m128i message[4];
    for (int i = 0; i < 4; ++i) {
      message[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), wordOrder);
    }
    __m128i previousAbcd = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, _mm_add_epi32(e, message[0]), 0);
    roundsAfterTheFirstFour(abcd, previousAbcd, message, std::make_integer_sequence<int, 19>());
    e = _mm_sha1nexte_epu32(previousAbcd, startE);
    abcd = _mm_add_epi32(abcd, startAbcd);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data()), _mm_shuffle_epi32(abcd, 0x1b));
  state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e, 3));
}

}  // namespace

Sha1::CompressionFunction sha1ShaInstructions() {
  const ProcessorFeatures& processor = ProcessorFeatures::ofThisProcessor();
  return processor.sha && processor.ssse3 && processor.sse41 ? &compressWithShaInstructions : nullptr;
}

}  // namespace security
