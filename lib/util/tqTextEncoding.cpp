#include "lib/util/tqTextEncoding.h"

#include <cstdint>

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view utf16BigEndianMark = "\xFE\xFF";
constexpr char32_t replacementCharacter = 0xFFFD;

void appendUtf8(char32_t code, std::string& text) {
  if (code < 0x80) {
    text.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text.push_back(static_cast<char>(0xC0 | code >> 6));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | code >> 12));
    text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | code >> 18));
    text.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::string utf8FromUtf16(std::string_view bytes, bool bigEndian) {
  const auto unitAt = [&](std::size_t at) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? first << 8 | second : second << 8 | first;
  };
  const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
  const auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
  std::string text;
  text.reserve(bytes.size() / 2 * 3 / 2);
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) {
    const char32_t unit = unitAt(at);
    if (isHigh(unit) && at + 3 < bytes.size() && isLow(unitAt(at + 2))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00), text);
      at += 2;
    } else {
      appendUtf8(isHigh(unit) || isLow(unit) ? replacementCharacter : unit, text);
    }
  }
  if (at < bytes.size()) appendUtf8(replacementCharacter, text);
  return text;
}

}  // namespace

std::string_view textOfFile(std::string_view bytes, std::string& decoded) {
  if (bytes.starts_with(utf8Mark)) return bytes.substr(utf8Mark.size());
  const bool littleEndian = bytes.starts_with(utf16LittleEndianMark);
  if (!littleEndian && !bytes.starts_with(utf16BigEndianMark)) return bytes;
  decoded = utf8FromUtf16(bytes.substr(2), !littleEndian);
  return decoded;
}

bool isUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
      ++at;
      continue;
    }
    // The sequence's length, its lead's bits and the least code it may carry.
    int length = 4;
    char32_t code = lead & 0x07;
    char32_t least = 0x10000;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
      least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
      least = 0x800;
    } else if (lead < 0xF0 || lead > 0xF4) {
      return false;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) return false;
    for (int index = 1; index < length; ++index) {
      const auto next = static_cast<unsigned char>(text[at + index]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    at += static_cast<std::size_t>(length);
  }
  return true;
}
