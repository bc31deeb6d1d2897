#pragma once

#include <string>
#include <vector>

#include "lib/lang/tqTypes.h"

// Replaces "{0}" by parameters[0], then "{1}" by parameters[1] and so on, each
// step in the result of the one before. Only these exact placeholders are
// touched; an empty parameter leaves its placeholder as it is, and there is no
// escape. Text ends at its first zero byte, as every tqString does.
std::string substitutePlaceholders(const std::string& text, const std::vector<String>& parameters);
