#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "check/Finding.h"

namespace check {

// The findings as compilers print theirs, one a line, in line order (the
// whole file's first), those of a line in the order found:
// "FILE:LINE: warning: text", "FILE: error: text".
std::string printedFindings(std::string_view fileName, std::vector<Finding> findings);

// 0 with notes alone or none, 1 with a warning, 2 with an error.
int exitStatusOf(const std::vector<Finding>& findings);

}  // namespace check
