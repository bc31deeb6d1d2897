#include "platform/SystemText.h"

#include "platform/windows/WideText.h"

namespace platform {

std::string utf8FromSystemText(std::string_view text) { return windows::toUtf8(windows::ansiToWide(text)); }

}  // namespace platform
