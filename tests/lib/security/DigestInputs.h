#pragma once

#include <random>
#include <string>

// The names of every algorithm tqMessageDigest knows.
inline const std::string digestAlgorithms[] = {"MD5", "SHA-1", "SHA-512"};

// `size` bytes of every value, line ends and zero bytes among them, drawn from `random`.
inline std::string randomBytes(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}
