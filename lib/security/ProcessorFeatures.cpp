#include "lib/security/ProcessorFeatures.h"

#include <cpuid.h>
#include <immintrin.h>

#include <cstdint>

// Built for x86-64 only.

namespace security {

namespace {

// XCR0 bits: the SSE and AVX register halves, then the AVX-512 mask and upper
// registers. An instruction whose registers the operating system does not
// save faults even where cpuid lists it.
constexpr std::uint64_t avxState = 0x6;
constexpr std::uint64_t avx512State = 0xe0;

[[gnu::target("xsave")]] std::uint64_t savedRegisterState() { return _xgetbv(0); }

ProcessorFeatures query() {
  ProcessorFeatures features;
  unsigned int eax = 0;
  unsigned int ebx = 0;
  unsigned int ecx = 0;
  unsigned int edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return features;
  features.ssse3 = (ecx & bit_SSSE3) != 0;
  features.sse41 = (ecx & bit_SSE4_1) != 0;
  const std::uint64_t saved = (ecx & bit_OSXSAVE) != 0 ? savedRegisterState() : 0;
  const bool avxSaved = (saved & avxState) == avxState;
  const bool avx512Saved = avxSaved && (saved & avx512State) == avx512State;
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) return features;
  features.sha = (ebx & bit_SHA) != 0;
  features.bmi1 = (ebx & bit_BMI) != 0;
  features.bmi2 = (ebx & bit_BMI2) != 0;
  features.avx2 = avxSaved && (ebx & bit_AVX2) != 0;
  features.avx512f = avx512Saved && (ebx & bit_AVX512F) != 0;
  features.avx512vl = avx512Saved && (ebx & bit_AVX512VL) != 0;
  return features;
}

}  // namespace

const ProcessorFeatures& ProcessorFeatures::ofThisProcessor() {
  static const ProcessorFeatures features = query();
  return features;
}

}  // namespace security
