#pragma once

// Implementation details of tqMessageDigest only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace security {

// The part every digest here shares: bytes are gathered into whole blocks for
// the compression function, and the message is closed with 0x80, zeros and
// its length. `Compression` provides blockSize, digestSize, compress(blocks,
// count), lengthField(byteCount) and digestBytes(), and starts from its
// initial values when constructed.
template <typename Compression>
class BlockDigest {
 public:
  static constexpr std::size_t blockSize = Compression::blockSize;
  using Digest = std::array<std::uint8_t, Compression::digestSize>;

  BlockDigest() = default;
  // Every message starts from `initial`, e.g. a compression through
  // particular instructions.
  explicit BlockDigest(const Compression& initial) : initial_(initial), compression_(initial) {}

  // Whole blocks are compressed straight from `bytes`; only a head that
  // completes the waiting block and a tail shorter than a block are copied.
  void update(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    const std::size_t waiting = byteCount_ % blockSize;
    byteCount_ += count;
    if (waiting != 0) {
      const std::size_t head = count < blockSize - waiting ? count : blockSize - waiting;
      std::memcpy(buffer_.data() + waiting, bytes, head);
      if (waiting + head < blockSize) return;
      compression_.compress(buffer_.data(), 1);
      bytes += head;
      count -= head;
    }
    const std::size_t wholeBlocks = count / blockSize;
    if (wholeBlocks != 0) compression_.compress(bytes, wholeBlocks);
    const std::size_t tail = count % blockSize;
    if (tail != 0) std::memcpy(buffer_.data(), bytes + wholeBlocks * blockSize, tail);
  }

  // The digest of every byte fed; the object then starts afresh.
  Digest finish() {
    const auto lengthField = Compression::lengthField(byteCount_);
    constexpr std::size_t lastRoom = blockSize - lengthField.size();
    const std::size_t waiting = byteCount_ % blockSize;
    // At least the 0x80 byte; a full block more when the length no longer fits.
    const std::size_t paddingSize = waiting < lastRoom ? lastRoom - waiting : lastRoom + blockSize - waiting;
    update(padding.data(), paddingSize);
    update(lengthField.data(), lengthField.size());
    const Digest digest = compression_.digestBytes();
    compression_ = initial_;
    byteCount_ = 0;
    return digest;
  }

 private:
  static constexpr std::array<std::uint8_t, blockSize> padding{0x80};

  Compression initial_;
  Compression compression_ = initial_;
  std::array<std::uint8_t, blockSize> buffer_{};
  // Bytes, not bits: no message fed here reaches 2^64 bytes, and the length
  // fields need the bit count only modulo 2^64 (MD5, SHA-1) or 2^128 (SHA-512).
  std::uint64_t byteCount_ = 0;
};

}  // namespace security
