#include "check/CheckArguments.h"

#include <charconv>

namespace check {

namespace {

// The most starts told: more would be a list nobody reads.
constexpr int mostNextStarts = 1000;

}  // namespace

ArgumentsReading readArguments(std::span<const std::string_view> words) {
  CheckArguments arguments;
  bool fileNamed = false;
  for (std::size_t index = 0; index < words.size(); ++index) {
    const std::string_view word = words[index];
    if (word == "--help") {
      arguments.help = true;
    } else if (word == "--version") {
      arguments.version = true;
    } else if (word == "--next" || word == "--from") {
      if (index + 1 == words.size()) return {{}, std::string(word) + " needs a value"};
      const std::string_view value = words[++index];
      if (word == "--from") {
        arguments.from = value;
        continue;
      }
      int count = -1;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
      if (error != std::errc() || end != value.data() + value.size() || count < 0 || count > mostNextStarts) {
        return {{}, "--next takes a number from 0 to " + std::to_string(mostNextStarts) + ", not " +
                        std::string(value)};
      }
      arguments.nextStartCount = count;
    } else if (word.starts_with("-") && word != "-") {
      return {{}, "unknown option " + std::string(word)};
    } else if (fileNamed) {
      return {{}, "one file at a time: " + std::string(word)};
    } else {
      arguments.fileName = word;
      fileNamed = true;
    }
  }
  return {arguments, {}};
}

}  // namespace check
