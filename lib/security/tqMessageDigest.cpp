#include "lib/security/tqMessageDigest.h"

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>
#include <variant>

#include "lib/security/BlockDigest.h"
#include "lib/security/Md5.h"
#include "lib/security/Sha1.h"
#include "lib/security/Sha512.h"
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

using AnyEngine = std::variant<std::monostate, security::BlockDigest<security::Md5>,
                               security::BlockDigest<security::Sha1>, security::BlockDigest<security::Sha512>>;

AnyEngine engineFor(std::string_view algorithm) {
  if (algorithm == "MD5") return security::BlockDigest<security::Md5>();
  if (algorithm == "SHA-1") return security::BlockDigest<security::Sha1>();
  if (algorithm == "SHA-512") return security::BlockDigest<security::Sha512>();
  return std::monostate();
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

struct tqMessageDigest::Engine {
  AnyEngine state;
};

tqMessageDigest::tqMessageDigest(std::string_view algorithm)
    : algorithm_(algorithm), engine_(std::make_unique<Engine>(Engine{engineFor(algorithm)})) {}

tqMessageDigest::tqMessageDigest(const tqMessageDigest& other)
    : tqObject(other), algorithm_(other.algorithm_), engine_(std::make_unique<Engine>(*other.engine_)) {}

tqMessageDigest& tqMessageDigest::operator=(const tqMessageDigest& other) {
  tqObject::operator=(other);
  algorithm_ = other.algorithm_;
  *engine_ = *other.engine_;
  return *this;
}

tqMessageDigest::~tqMessageDigest() = default;

const tqTypeDescriptor& tqMessageDigest::typeDescriptor() const { return descriptor; }

std::string tqMessageDigest::digest() { return finish(engine_->state); }

std::string tqMessageDigest::digest(std::string_view text) {
  update(text);
  return digest();
}

std::string tqMessageDigest::getAlgorithm() const { return algorithm_; }

void tqMessageDigest::reset() { engine_->state = engineFor(algorithm_); }

void tqMessageDigest::update(std::string_view text) { feed(engine_->state, text); }

std::string tqMessageDigest::digestText(std::string_view text) {
  if (text.empty()) return {};
  return digest(text);
}

std::string tqMessageDigest::digestFile(std::string_view fileName) {
  if (fileName.empty() || std::holds_alternative<std::monostate>(engine_->state)) return {};
  platform::File file = platform::File::openForReading(fileName);
  // A pipe or a device may never end.
  if (!file.isRegularFile()) return {};
  // Fed into a copy, so that a file that turns out empty or unreadable leaves
  // this object as it was.
  AnyEngine reading = engine_->state;
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
