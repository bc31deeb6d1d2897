#include "lib/security/tqMessageDigest.h"

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

#include "platform/File.h"

const tqTypeDescriptor tqMessageDigest::descriptor{"15TQMESSAGEDIGEST", &tqObject::descriptor};

namespace {

// Big enough to keep system calls rare, small enough for any thread's stack.
constexpr std::size_t fileChunkSize = 64 * 1024;

std::string upperCaseHex(std::span<const std::uint8_t> bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text(2 * bytes.size(), '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[2 * i] = digits[bytes[i] >> 4];
    text[2 * i + 1] = digits[bytes[i] & 0x0f];
  }
  return text;
}

template <typename Engine>
constexpr bool isAlgorithm = !std::is_same_v<std::decay_t<Engine>, std::monostate>;

// An unknown algorithm takes no bytes and answers the empty text.
void feed(auto& engine, std::string_view bytes) {
  std::visit(
      [bytes](auto& algorithm) {
        if constexpr (isAlgorithm<decltype(algorithm)>) {
          algorithm.update(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
      },
      engine);
}

std::string finish(auto& engine) {
  return std::visit(
      [](auto& algorithm) -> std::string {
        if constexpr (isAlgorithm<decltype(algorithm)>) {
          return upperCaseHex(algorithm.finish());
        } else {
          return {};
        }
      },
      engine);
}

}  // namespace

tqMessageDigest::tqMessageDigest(std::string_view algorithm)
    : algorithm_(algorithm), engine_(engineFor(algorithm)) {}

tqMessageDigest::Engine tqMessageDigest::engineFor(std::string_view algorithm) {
  if (algorithm == "MD5") return security::BlockDigest<security::Md5>();
  if (algorithm == "SHA-1") return security::BlockDigest<security::Sha1>();
  if (algorithm == "SHA-512") return security::BlockDigest<security::Sha512>();
  return std::monostate();
}

const tqTypeDescriptor& tqMessageDigest::typeDescriptor() const { return descriptor; }

std::string tqMessageDigest::digest() { return finish(engine_); }

std::string tqMessageDigest::digest(std::string_view text) {
  update(text);
  return digest();
}

std::string tqMessageDigest::getAlgorithm() const { return algorithm_; }

void tqMessageDigest::reset() { engine_ = engineFor(algorithm_); }

void tqMessageDigest::update(std::string_view text) { feed(engine_, text); }

std::string tqMessageDigest::digestText(std::string_view text) {
  if (text.empty()) return {};
  return digest(text);
}

std::string tqMessageDigest::digestFile(std::string_view fileName) {
  if (fileName.empty() || std::holds_alternative<std::monostate>(engine_)) return {};
  platform::File file = platform::File::openForReading(fileName);
  // A pipe or a device may never end.
  if (!file.isRegularFile()) return {};
  // Fed into a copy, so that a file that turns out empty or unreadable leaves
  // this object as it was.
  Engine reading = engine_;
  std::array<char, fileChunkSize> chunk;
  bool empty = true;
  for (;;) {
    const std::int64_t count = file.read(chunk.data(), static_cast<std::int64_t>(chunk.size()));
    if (count < 0) return {};
    if (count == 0) break;
    feed(reading, std::string_view(chunk.data(), static_cast<std::size_t>(count)));
    empty = false;
  }
  if (empty) return {};
  std::string text = finish(reading);
  reset();
  return text;
}

std::unique_ptr<tqMessageDigest> tqMessageDigest::getInstance(std::string_view algorithm) {
  return std::make_unique<tqMessageDigest>(algorithm);
}
