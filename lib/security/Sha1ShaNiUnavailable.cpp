#include "lib/security/Sha1.h"

namespace security {

// This build has no SHA instructions to offer: the portable code does the work.
Sha1::CompressionFunction sha1ShaInstructions() { return nullptr; }

}  // namespace security
