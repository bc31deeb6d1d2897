#include "platform/Clock.h"

#include <windows.h>

namespace platform {

namespace {

// FILETIME counts 100 ns ticks from 1 January 1601; the system clock counts
// seconds from 1 January 1970.
constexpr long long ticksPerSecond = 10'000'000;
constexpr long long secondsFrom1601To1970 = 11'644'473'600;

LocalTime fieldsOf(const SYSTEMTIME& time) {
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

LocalTime localTimeOfFileTime(const FILETIME& fileTime) {
  SYSTEMTIME universal;
  SYSTEMTIME local;
  if (!FileTimeToSystemTime(&fileTime, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    return {};
  }
  return fieldsOf(local);
}

}  // namespace

LocalTime localTimeNow() {
  // Not GetLocalTime: it ticks in steps of up to 15.6 ms, so a record written
  // right after the minute boundary the scheduler woke at could read the
  // second before it. The precise system time is what the scheduler waits on.
  FILETIME fileTime;
  GetSystemTimePreciseAsFileTime(&fileTime);
  return localTimeOfFileTime(fileTime);
}

LocalTime localTimeOf(std::chrono::sys_seconds instant) {
  const long long seconds = instant.time_since_epoch().count() + secondsFrom1601To1970;
  if (seconds < 0) return {};
  const auto ticks = static_cast<unsigned long long>(seconds) * ticksPerSecond;
  FILETIME fileTime;
  fileTime.dwLowDateTime = static_cast<DWORD>(ticks);
  fileTime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return localTimeOfFileTime(fileTime);
}

double secondsTimer() {
  // Both calls always succeed on Windows XP and later.
  LARGE_INTEGER frequency;
  LARGE_INTEGER count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace platform
