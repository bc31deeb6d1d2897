#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plandek {

// Where the daemon's records go, all at level SEVERE: a message with numbered
// placeholders, "{0}", "{1}" ..., and the texts that replace them in order.
using DaemonLog = std::function<void(std::string_view message, const std::vector<std::string>& parameters)>;

}  // namespace plandek
