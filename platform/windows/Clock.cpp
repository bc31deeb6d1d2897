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

// The rules of the system's time zone for `year`, read afresh at each call so
// that a change of zone shows at the next one. Not
// SystemTimeToTzSpecificLocalTimeEx: wine 8 has only a stub of it, which ends
// the process; this is the same lookup.
bool zoneRulesFor(WORD year, TIME_ZONE_INFORMATION& rules) {
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return false;
  if (!zone.DynamicDaylightTimeDisabled && GetTimeZoneInformationForYear(year, &zone, &rules)) {
    return true;
  }
  // Year-specific rules turned off, or none known for the zone: its fixed ones.
  rules = {};
  rules.Bias = zone.Bias;
  rules.StandardDate = zone.StandardDate;
  rules.StandardBias = zone.StandardBias;
  rules.DaylightDate = zone.DaylightDate;
  rules.DaylightBias = zone.DaylightBias;
  return true;
}

// The local time by the rules of the instant's own year when `ofItsYear`,
// else by the zone's current rules, which are right for the present and
// skip the year's lookup (a registry read, a third of a millisecond under wine).
LocalTime localTimeOfFileTime(const FILETIME& fileTime, bool ofItsYear) {
  SYSTEMTIME universal;
  if (!FileTimeToSystemTime(&fileTime, &universal)) return {};
  SYSTEMTIME local;
  TIME_ZONE_INFORMATION rules;
  if (ofItsYear && zoneRulesFor(universal.wYear, rules) &&
      SystemTimeToTzSpecificLocalTime(&rules, &universal, &local)) {
    return fieldsOf(local);
  }
  // Also the fallback when the year's rules cannot be had.
  if (SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) return fieldsOf(local);
  return {};
}

}  // namespace

LocalTime localTimeNow() {
  // Not GetLocalTime: it ticks in steps of up to 15.6 ms, so a record written
  // right after the minute boundary the scheduler woke at could read the
  // second before it. The precise system time is what the scheduler waits on.
  // The current rules: this runs for every log record.
  FILETIME fileTime;
  GetSystemTimePreciseAsFileTime(&fileTime);
  return localTimeOfFileTime(fileTime, false);
}

LocalTime localTimeOf(std::chrono::sys_seconds instant) {
  const long long seconds = instant.time_since_epoch().count() + secondsFrom1601To1970;
  if (seconds < 0) return {};
  const auto ticks = static_cast<unsigned long long>(seconds) * ticksPerSecond;
  FILETIME fileTime;
  fileTime.dwLowDateTime = static_cast<DWORD>(ticks);
  fileTime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return localTimeOfFileTime(fileTime, true);
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
