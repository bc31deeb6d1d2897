#pragma once

// Schedules and entries that tests, benchmarks and the fuzz target write as
// text. A text that does not compile is a mistake of the test, never a
// schedule that is quietly never due: it throws, which fails the test.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lib/lang/tqDateSerial.h"
#include "schedule/Cron.h"
#include "schedule/ScheduleMatcher.h"
#include "schedule/ScheduleTime.h"

// `text` compiled as an entry keeps it: "@reboot", or five fields separated
// by single blanks.
inline schedule::CompiledSchedule scheduleOf(std::string_view text) {
  const std::optional<schedule::CompiledSchedule> compiled = schedule::compileScheduleText(text);
  if (!compiled) throw std::invalid_argument("not a well-formed schedule: '" + std::string(text) + "'");
  return *compiled;
}

// An entry that runs `command` in the daemon's own environment.
inline schedule::Cron cronOf(std::string_view schedule, std::string_view command) {
  return schedule::Cron(schedule, command, scheduleOf(schedule));
}

// The values of a date serial's minute; its weekday counts from 1 for Sunday.
inline schedule::ScheduleTime scheduleTimeOf(const tqDateSerial& time) {
  return {time.minute(), time.hour(), time.day(), time.month(), time.weekday() - 1};
}
