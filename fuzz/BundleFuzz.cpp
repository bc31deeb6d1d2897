// The resource bundle reader against a reference reading of the same bytes.
// Bundles are read from a file beside the executable, so each input is
// written to a file there first, named after this process so that parallel
// fuzzing jobs keep apart, and removed once read.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lib/util/logging/tqResourceBundle.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string_view trimmed(std::string_view text, std::string_view blanks) {
  while (!text.empty() && blanks.find(text.front()) != std::string_view::npos) text.remove_prefix(1);
  while (!text.empty() && blanks.find(text.back()) != std::string_view::npos) text.remove_suffix(1);
  return text;
}

// Lines end at LF, CR LF or a lone CR. Blank lines and lines whose first
// non-blank is "#" are skipped; the others hold key "=" value, both trimmed of
// blanks and tabs; a later key replaces an earlier one's value in place.
Entries referenceEntries(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    if (bytes[at] != '\n' && bytes[at] != '\r') continue;
    lines.push_back(bytes.substr(start, at - start));
    if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
    start = at + 1;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));

  Entries entries;
  for (const std::string_view line : lines) {
    if (line.empty() || trimmed(line, " \t\n\r").starts_with('#')) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key(trimmed(line.substr(0, equals), " \t"));
    const std::string value(trimmed(line.substr(equals + 1), " \t"));
    bool replaced = false;
    for (auto& entry : entries) {
      if (entry.first == key) {
        entry.second = value;
        replaced = true;
      }
    }
    if (!replaced) entries.emplace_back(key, value);
  }
  return entries;
}

const std::string& baseName() {
  static const std::string name = "bundle_fuzz_" + std::to_string(getpid());
  return name;
}

const std::string& bundlePath() {
  static const std::string path = platform::executableDirectory() + platform::pathSeparator() + baseName() + ".properties";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (!platform::File::openForWriting(bundlePath()).write(bytes)) __builtin_trap();

  const tqResourceBundle bundle = tqResourceBundle::getBundle(baseName());
  // libFuzzer ends the process without running exit handlers.
  std::remove(bundlePath().c_str());
  const Entries expected = referenceEntries(bytes);

  std::vector<String> keys;
  bundle.handleKeySet().toArray(keys);
  if (keys.size() != expected.size()) __builtin_trap();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& [key, value] = expected[i];
    if (keys[i] != key || !bundle.containsKey(key) || bundle.getString(key) != value) __builtin_trap();
    // Values are message templates too; nothing may go wrong with them.
    (void)bundle.getString(key, std::string_view("x {0} {1}"));
  }
  return 0;
}
