#include "lib/security/ProcessorFeatures.h"
#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"

namespace security {

// This build carries no code for particular processors: the portable
// compressions do all the work.
const ProcessorFeatures& ProcessorFeatures::ofThisProcessor() {
  static const ProcessorFeatures none;
  return none;
}
Sha1::CompressionFunction sha1ShaInstructions() { return nullptr; }
Sha512::CompressionFunction sha512Avx2Instructions() { return nullptr; }
Sha512::CompressionFunction sha512Avx512Instructions() { return nullptr; }

}  // namespace security
