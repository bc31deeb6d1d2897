#include "platform/SystemText.h"

namespace platform {

std::string utf8FromSystemText(std::string_view text) { return std::string(text); }

}  // namespace platform
