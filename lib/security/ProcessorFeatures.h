#pragma once

// Implementation details of the digests only.

namespace security {

// The instruction set extensions the digests can use, as the processor
// reports them: asked of the processor itself (cpuid), whatever the operating
// system, and counting the vector ones only where the operating system saves
// their registers (xgetbv). All false where the build is not for x86-64.
struct ProcessorFeatures {
  bool ssse3 = false;
  bool sse41 = false;
  bool sha = false;
  bool avx2 = false;
  bool bmi1 = false;
  bool bmi2 = false;
  bool avx512f = false;
  bool avx512vl = false;

  // Asked once, on first use.
  static const ProcessorFeatures& ofThisProcessor();
};

}  // namespace security
