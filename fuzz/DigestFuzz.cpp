// MD5, SHA-1 and SHA-512 fed in random chunkings against the one-shot digest
// of the same bytes and against OpenSSL's.

#include <fuzzer/FuzzedDataProvider.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/security/tqMessageDigest.h"

namespace {

struct Algorithm {
  std::string_view name;
  const EVP_MD* (*peer)();
};

const Algorithm algorithms[] = {{"MD5", EVP_md5}, {"SHA-1", EVP_sha1}, {"SHA-512", EVP_sha512}};

std::string peerDigest(const Algorithm& algorithm, std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, algorithm.peer(), nullptr) != 1) __builtin_trap();
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text.push_back(hex[digest[i] >> 4]);
    text.push_back(hex[digest[i] & 15]);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const Algorithm& algorithm = algorithms[input.ConsumeIntegralInRange<std::size_t>(0, 2)];
  // Chunk sizes around the block sizes (64 and 128 bytes) matter most.
  std::vector<std::size_t> chunkSizes(input.ConsumeIntegralInRange<std::size_t>(0, 16));
  for (std::size_t& chunkSize : chunkSizes) chunkSize = input.ConsumeIntegralInRange<std::size_t>(1, 300);
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  const std::string expected = peerDigest(algorithm, bytes);
  if (tqMessageDigest(algorithm.name).digest(bytes) != expected) __builtin_trap();

  tqMessageDigest chunked(algorithm.name);
  std::string_view rest = bytes;
  std::size_t next = 0;
  while (!rest.empty()) {
    const std::size_t chunkSize = chunkSizes.empty() ? rest.size() : chunkSizes[next++ % chunkSizes.size()];
    chunked.update(rest.substr(0, chunkSize));
    // An empty piece between two others changes nothing.
    chunked.update({});
    rest.remove_prefix(std::min(chunkSize, rest.size()));
    // A copy made midway carries the digest on by itself.
    if (next == 2) {
      tqMessageDigest copy = chunked;
      copy.update(rest);
      if (copy.digest() != expected) __builtin_trap();
    }
  }
  if (chunked.digest() != expected) __builtin_trap();
  // Finishing reset the object: the same bytes again give the same digest.
  if (chunked.digest(bytes) != expected) __builtin_trap();
  const std::string text = tqMessageDigest(algorithm.name).digestText(bytes);
  if (text != (bytes.empty() ? std::string() : expected)) __builtin_trap();
  return 0;
}
