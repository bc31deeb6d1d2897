#include "platform/Clock.h"

#include <ctime>
#include <time.h>

namespace platform {

LocalTime localTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm fields{};
  if (now == static_cast<std::time_t>(-1) || ::localtime_r(&now, &fields) == nullptr) return {};
  return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
          fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

double secondsTimer() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace platform
