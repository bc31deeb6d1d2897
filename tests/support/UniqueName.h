#pragma once

#include <random>
#include <string>

// `prefix` and a random number: a name that tests running at the same time,
// or files left behind by earlier runs, are not using.
inline std::string uniqueName(const std::string& prefix) { return prefix + std::to_string(std::random_device()()); }
