#include "lib/util/logging/Placeholders.h"

#include <cstddef>

#include "lib/lang/tqString.h"

std::string substitutePlaceholders(const std::string& text, const std::vector<String>& parameters) {
  tqString result(text);
  for (std::size_t index = 0; index < parameters.size(); ++index) {
    // Skipped before building the placeholder: nearly every message has few.
    if (result.indexOf("{") == 0) break;
    result = result.replace("{" + std::to_string(index) + "}", parameters[index]);
  }
  return result.toString();
}
