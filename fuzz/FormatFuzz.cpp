// The formatter's placeholder substitution with random messages and
// parameters, against a reference substitution and its plain rules.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lib/lang/tqTypes.h"
#include "lib/util/logging/tqFormatter.h"
#include "lib/util/logging/tqLevel.h"
#include "lib/util/logging/tqLogRecord.h"

namespace {

std::string asText(const std::string& text) { return text.substr(0, text.find('\0')); }

// Every "{i}", left to right, never overlapping, by parameter i, in index
// order, each step on the result of the one before. An empty parameter
// replaces nothing.
std::string referenceFormat(std::string text, const std::vector<String>& parameters) {
  for (std::size_t index = 0; index < parameters.size(); ++index) {
    const std::string placeholder = "{" + std::to_string(index) + "}";
    const std::string parameter = asText(parameters[index]);
    if (parameter.empty()) continue;
    std::string result;
    std::size_t at = 0;
    while (at < text.size()) {
      if (text.compare(at, placeholder.size(), placeholder) == 0) {
        result += parameter;
        at += placeholder.size();
      } else {
        result.push_back(text[at++]);
      }
    }
    text = std::move(result);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<String> parameters(input.ConsumeIntegralInRange<std::size_t>(0, 12));
  for (String& parameter : parameters) parameter = input.ConsumeRandomLengthString(16);
  const std::string message = input.ConsumeRemainingBytesAsString();

  tqLogRecord record(tqLevel::SEVERE, message);
  record.setParameters(parameters);
  const std::string formatted = tqFormatter().formatMessage(record);
  const std::string text = asText(message);

  if (formatted != referenceFormat(text, parameters)) __builtin_trap();
  // Without parameters or without a brace, the message passes unchanged.
  if ((parameters.empty() || text.find('{') == std::string::npos) && formatted != text) __builtin_trap();
  // Only placeholders are replaced, so whatever precedes the first brace stays.
  if (formatted.compare(0, text.find('{'), text, 0, text.find('{')) != 0) __builtin_trap();
  return 0;
}
