#include "lib/security/tqMessageDigest.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstdio>
#include <random>
#include <string>

#include "tests/lib/security/DigestInputs.h"

namespace {

struct Peer {
  std::string algorithm;
  const EVP_MD* (*openSsl)();
};

const Peer peers[] = {{"MD5", EVP_md5}, {"SHA-1", EVP_sha1}, {"SHA-512", EVP_sha512}};

std::string openSslDigest(const Peer& peer, const std::string& message) {
  unsigned char bytes[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(message.data(), message.size(), bytes, &size, peer.openSsl(), nullptr);
  std::string text;
  char hex[3];
  for (unsigned int i = 0; i < size; ++i) {
    std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
    text += hex;
  }
  return text;
}

}  // namespace

TEST(tqMessageDigestAgainstOpenSsl, AgreesAroundTheBlockBoundaries) {
  std::mt19937 random(1321);
  for (const Peer& peer : peers) {
    for (const std::size_t length : {0, 1, 55, 56, 57, 63, 64, 65, 111, 112, 113, 127, 128, 129, 255, 256}) {
      const std::string message = randomBytes(random, length);
      EXPECT_EQ(tqMessageDigest(peer.algorithm).digest(message), openSslDigest(peer, message))
          << peer.algorithm << ", " << length << " bytes";
    }
  }
}

TEST(tqMessageDigestAgainstOpenSsl, AgreesOnRandomMessagesFedInRandomPieces) {
  std::mt19937 random(180);
  std::uniform_int_distribution<std::size_t> messageLength(0, 100'000);
  for (const Peer& peer : peers) {
    tqMessageDigest digest(peer.algorithm);
    for (int round = 0; round < 60; ++round) {
      const std::string message = randomBytes(random, messageLength(random));
      // Mostly short pieces, so that every offset within a block is met, and
      // now and then a long one that holds whole blocks.
      std::size_t start = 0;
      while (start < message.size()) {
        const std::size_t longest = random() % 8 == 0 ? 5'000 : 200;
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, longest)(random);
        digest.update(std::string_view(message).substr(start, size));
        start += size;
      }
      EXPECT_EQ(digest.digest(), openSslDigest(peer, message)) << peer.algorithm << ", " << message.size() << " bytes";
    }
  }
}
