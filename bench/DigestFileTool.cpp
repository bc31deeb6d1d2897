// Prints the digest of a file, for comparing speed and answers with the
// system's own tools (scripts/digest-file-vs-md5sum.sh).
// Usage: digest_file ALGORITHM FILE

#include <cstdio>

#include "lib/security/tqMessageDigest.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s MD5|SHA-1|SHA-512 FILE\n", argv[0]);
    return 2;
  }
  tqMessageDigest digest(argv[1]);
  const std::string text = digest.digestFile(argv[2]);
  std::printf("%s\n", text.c_str());
  return text.empty() ? 1 : 0;
}
