#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "daemon/Cron.h"
#include "lib/util/tqList.h"

// A line of the schedule file that was refused: its number, counted from 1,
// and its text trimmed of blanks.
struct SkippedLine {
  std::int64_t number = 0;
  std::string text;
};

struct LoadedSchedule {
  tqList<Cron> crons;
  std::vector<SkippedLine> skippedLines;
  // Why the file was refused as a whole, without being read; empty when it
  // was not.
  std::string refusal;
};

struct ScheduleMacro {
  std::string_view name;
  std::string_view schedule;
};

// The macro names and the schedules they stand for.
inline constexpr std::array<ScheduleMacro, 7> scheduleMacros = {{
    {"@hourly", "0 * * * *"},
    {"@daily", "0 0 * * *"},
    {"@midnight", "0 0 * * *"},
    {"@weekly", "0 0 * * 0"},
    {"@monthly", "0 0 1 * *"},
    {"@yearly", "0 0 1 1 *"},
    {"@annually", "0 0 1 1 *"},
}};

// The entries of a schedule file, in file order, and the lines it refused.
//
// Lines end at LF, CR LF or a lone CR; a line's text ends at its first zero
// byte, as every text of the library does. A line is trimmed of blanks at both
// ends; tabs and runs of blanks separate its words. A line without words and a
// line whose first word begins with "#" are ignored. The others read
//   @reboot command                        a start-up entry
//   macro command                          a macro standing for the five fields
//   minute hour day month weekday command  a timed entry
// where the command is the rest of the line exactly as written. A line without
// a command and a line whose fields are malformed are refused.
LoadedSchedule readSchedule(std::string_view bytes);
