#pragma once

#include "check/LocalZone.h"

namespace check {

// The system's own zone, as the daemon reads it.
class SystemZone : public LocalZone {
 public:
  std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds instant) const override;
};

}  // namespace check
