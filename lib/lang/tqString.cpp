#include "lib/lang/tqString.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

const tqTypeDescriptor tqString::descriptor{"8TQSTRING", &tqObject::descriptor};

namespace {

// A text ends at its first zero byte, whatever the view around it says.
std::string_view zeroTerminated(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

bool limitAllowsNewField(std::optional<std::int64_t> limit, std::size_t fieldIndex) {
  return !limit || *limit <= 0 || static_cast<std::int64_t>(fieldIndex) < *limit - 1;
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator,
                                   std::optional<std::int64_t> limit) {
  std::vector<std::string> fields(1);
  // An empty separator would never advance; the whole text is then one field.
  if (!separator.empty()) {
    std::size_t position = 0;
    while (limitAllowsNewField(limit, fields.size() - 1)) {
      const std::size_t match = text.find(separator, position);
      if (match == std::string_view::npos) break;
      fields.back().append(text.substr(position, match - position));
      fields.emplace_back();
      position = match + separator.size();
    }
    text.remove_prefix(position);
  }
  fields.back().append(text);
  if (limit && *limit == 0) {
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
  }
  return fields;
}

bool isDigitOfBase(unsigned char byte, unsigned base, unsigned& digit) {
  if (byte >= '0' && byte <= '9') {
    digit = byte - '0';
  } else if (byte >= 'a' && byte <= 'f') {
    digit = byte - 'a' + 10;
  } else if (byte >= 'A' && byte <= 'F') {
    digit = byte - 'A' + 10;
  } else {
    return false;
  }
  return digit < base;
}

// Digits of the "&H", "&O" and "&B" forms, wrapping in 32 bits.
std::uint32_t readPrefixedDigits(std::string_view digits, unsigned base) {
  std::uint32_t value = 0;
  unsigned digit = 0;
  for (const char byte : digits) {
    if (!isDigitOfBase(static_cast<unsigned char>(byte), base, digit)) break;
    value = value * base + digit;
  }
  return value;
}

bool isWhiteSpace(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// Decimal text read the way an unsigned 32-bit parse reads it: a value beyond
// the range saturates, a minus sign negates modulo 2^32.
std::uint32_t readDecimal(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size() && isWhiteSpace(text[position])) ++position;
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  constexpr std::uint64_t maximum = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t magnitude = 0;
  bool overflow = false;
  for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
    magnitude = magnitude * 10 + static_cast<unsigned>(text[position] - '0');
    if (magnitude > maximum) {
      overflow = true;
      magnitude = maximum;
    }
  }
  if (overflow) return static_cast<std::uint32_t>(maximum);
  const auto value = static_cast<std::uint32_t>(magnitude);
  return negative ? static_cast<std::uint32_t>(0u - value) : value;
}

}  // namespace

tqString::tqString(std::string_view text, std::int64_t start, std::int64_t count) {
  text = zeroTerminated(text);
  const auto size = static_cast<std::int64_t>(text.size());
  if (start < 0) start = 0;
  if (start > size) start = size;
  if (count < 0) count = 0;
  if (count > size - start) count = size - start;
  text_ = text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

std::int64_t tqString::hashCode() const {
  // Each step is rounded in double precision, as stored hash codes expect;
  // strings of up to 10 bytes come out exact.
  constexpr double lowest = -9223372036854775808.0;
  const std::size_t n = text_.size();
  std::int64_t hash = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double term = static_cast<unsigned char>(text_[i]) * std::pow(31.0, static_cast<double>(n - 1 - i));
    const double sum = std::nearbyint(term + static_cast<double>(hash));
    hash = (sum >= lowest && sum < -lowest) ? static_cast<std::int64_t>(sum)
                                            : std::numeric_limits<std::int64_t>::min();
  }
  return hash;
}

std::string tqString::toString() const { return text_; }

const tqTypeDescriptor& tqString::typeDescriptor() const { return descriptor; }

std::int64_t tqString::length() const { return static_cast<std::int64_t>(text_.size()); }

bool tqString::isEmpty() const { return text_.empty(); }

std::string_view tqString::view() const { return text_; }

std::unique_ptr<char[]> tqString::copyText() const {
  auto copy = std::make_unique<char[]>(text_.size() + 1);
  std::memcpy(copy.get(), text_.c_str(), text_.size() + 1);
  return copy;
}

bool tqString::contentEquals(const tqString& other) const { return text_ == other.text_; }

bool tqString::startsWith(std::string_view prefix) const {
  prefix = zeroTerminated(prefix);
  return !prefix.empty() && std::string_view(text_).starts_with(prefix);
}

std::int64_t tqString::indexOf(const tqString& text) const { return indexOf(text.view()); }

std::int64_t tqString::indexOf(std::string_view text) const {
  text = zeroTerminated(text);
  if (text.empty()) return -1;
  const std::size_t found = text_.find(text);
  return found == std::string::npos ? 0 : static_cast<std::int64_t>(found) + 1;
}

std::int64_t tqString::toInt() const {
  std::string_view text = text_;
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.empty()) return 0;
  std::uint32_t value = 0;
  if (text[0] == '&' && text.size() >= 2) {
    switch (text[1]) {
      case 'H': case 'h': value = readPrefixedDigits(text.substr(2), 16); break;
      case 'O': case 'o': value = readPrefixedDigits(text.substr(2), 8); break;
      case 'B': case 'b': value = readPrefixedDigits(text.substr(2), 2); break;
      default: value = readPrefixedDigits(text.substr(1), 8); break;
    }
  } else {
    value = readDecimal(text);
  }
  return static_cast<std::int32_t>(value);
}

tqString tqString::concat(const tqString& other) const { return concat(other.view()); }

tqString tqString::concat(std::string_view text) const {
  tqString result(*this);
  result.append(text);
  return result;
}

tqString tqString::replace(std::string_view from, std::string_view to) const {
  from = zeroTerminated(from);
  to = zeroTerminated(to);
  if (from.empty() || to.empty()) return *this;
  const std::vector<std::string> fields = splitText(text_, from, std::nullopt);
  tqString result;
  result.text_ = fields.front();
  for (std::size_t i = 1; i < fields.size(); ++i) {
    result.text_.append(to).append(fields[i]);
  }
  return result;
}

bool tqString::split(const tqString& separator, std::vector<std::string>& fields) const {
  fields = splitText(text_, separator.text_, std::nullopt);
  return !fields.empty();
}

bool tqString::split(const tqString& separator, std::vector<std::string>& fields,
                     std::int64_t limit) const {
  fields = splitText(text_, separator.text_, limit);
  return !fields.empty();
}

bool tqString::split(const tqString& separator, std::vector<tqString>& fields) const {
  std::vector<std::string> texts;
  const bool any = split(separator, texts);
  fields.clear();
  for (const std::string& text : texts) fields.emplace_back(text);
  return any;
}

bool tqString::split(const tqString& separator, std::vector<tqString>& fields,
                     std::int64_t limit) const {
  std::vector<std::string> texts;
  const bool any = split(separator, texts, limit);
  fields.clear();
  for (const std::string& text : texts) fields.emplace_back(text);
  return any;
}

void tqString::assign(std::string_view text) {
  text = zeroTerminated(text);
  if (!text.empty()) text_.assign(text);
}

void tqString::assign(const tqString& other) { text_ = other.text_; }

void tqString::append(std::string_view text) { text_.append(zeroTerminated(text)); }
