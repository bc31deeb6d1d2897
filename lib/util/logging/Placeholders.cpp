#include "lib/util/logging/Placeholders.h"

#include <cstddef>

#include "lib/lang/tqString.h"

std::string substitutePlaceholders(const std::string& text, const std::vector<String>& parameters) {
  tqString result(text);
  for (std::size_t index = 0; index < parameters.size(); ++index) {
    // Skipped before building the placeholder: nearly every message has few.
    if (result.indexOf("{") == 0) break;
    std::string placeholder = "{";
    placeholder.append(std::to_string(index)).append("}");
    result = result.replace(placeholder, parameters[index]);
  }
  return result.toString();
}
