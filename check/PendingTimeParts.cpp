#include "check/PendingTimeParts.h"

// Stand-ins: they answer nothing, so that no note is printed and every
// schedule counts as due every year.

namespace check {

LocalZone::~LocalZone() = default;

std::optional<schedule::LocalMinute> SystemZone::localMinute(std::chrono::sys_seconds) const { return {}; }

std::string describeSchedule(const schedule::Cron&) { return {}; }

std::vector<std::string> nextStarts(const schedule::CompiledSchedule&, std::chrono::sys_seconds, int,
                                    const LocalZone&) {
  return {};
}

std::vector<std::string> summerTimeNotes(const schedule::CompiledSchedule&, std::chrono::sys_seconds,
                                         const LocalZone&) {
  return {};
}

// Only the shape "YYYY-MM-DD HH:MM" is checked; the time is taken as UTC.
std::optional<std::chrono::sys_seconds> instantOfLocal(std::string_view text, const LocalZone&) {
  const auto digitsAt = [text](std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t index = at; index < at + count; ++index) {
      if (text[index] < '0' || text[index] > '9') return -1;
      value = value * 10 + (text[index] - '0');
    }
    return value;
  };
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':') return {};
  const int year = digitsAt(0, 4), month = digitsAt(5, 2), day = digitsAt(8, 2);
  const int hour = digitsAt(11, 2), minute = digitsAt(14, 2);
  const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (year < 0 || !date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59) return {};
  return std::chrono::sys_days{date} + std::chrono::hours{hour} + std::chrono::minutes{minute};
}

Dueness duenessOf(const schedule::CompiledSchedule&) { return {}; }

}  // namespace check
