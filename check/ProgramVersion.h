#pragma once

#include <string_view>

namespace check {

// The project's version, as CMake has it: "0.8.0".
std::string_view programVersion();

}  // namespace check
