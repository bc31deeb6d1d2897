#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lib/util/tqList.h"
#include "schedule/Cron.h"

namespace schedule {

// A line of the schedule file that was refused: its number, counted from 1,
// the reason in plain words (never holding "): ") and its text trimmed of
// blanks.
struct SkippedLine {
  std::int64_t number = 0;
  std::string reason;
  std::string text;
};

// An environment line as written: its number, counted from 1, the name and
// the value as it applies (trimmed, without one pair of matching quotes).
struct SettingLine {
  std::int64_t number = 0;
  std::string name;
  std::string value;
};

struct LoadedSchedule {
  tqList<Cron> crons;
  // The line of each entry, in the order of crons; the daemon needs none.
  std::vector<std::int64_t> entryLines;
  std::vector<SkippedLine> skippedLines;
  // Every environment line read, in file order.
  std::vector<SettingLine> settings;
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

// The five time fields at the front of `text`, which then keeps what follows
// them; blanks and tabs separate the fields, in runs of any length, and may
// stand before the first. None, and `text` unchanged, when there are fewer
// than five.
std::optional<ScheduleFields> takeScheduleFields(std::string_view& text);

// The entries of a schedule file, in file order, and the lines it refused.
//
// The bytes are text as editors save it (see textOfFile); a line that is not
// valid UTF-8 (isUtf8) is taken as text in the system's own encoding
// (platform's utf8FromSystemText), here and nowhere else: the platform takes
// commands and settings as UTF-8. Lines end at LF, CR LF or a lone CR; UTF-8
// byte-order marks at a line's start are dropped (files joined together). A line is
// trimmed of blanks at both ends; tabs and runs of blanks separate its words.
// A line without words and a line whose first word begins with "#" are
// ignored. The others read
//   NAME=value                             an environment setting
//   @reboot command                        a start-up entry
//   macro command                          a macro standing for the five fields
//   minute hour day month weekday command  a timed entry
// where the command is the rest of the line exactly as written. A line whose
// text before its first "=" is one word (or none) is an environment line: the
// word must be a name of ASCII letters, digits and "_", not beginning with a digit;
// blanks may stand around the "="; the value is the rest, trimmed, without one
// pair of matching quotes around it. A setting applies to the entries below it
// until the name is set again; each run of entries between settings shares one
// CommandEnvironment, built here. Refused are: a line without a command, a
// line with malformed fields or an unknown macro, an environment line with a
// bad name, a timed line whose command begins with "*" or "?" (a sixth
// time field, which the interpreter would expand to file names), a command
// longer than the system can pass (platform's commandLineRefusal), and a line
// other than a comment that holds a zero byte (the library's texts end at
// their first one, so the line's text shows it as the two characters \0).
LoadedSchedule readSchedule(std::string_view bytes);

}  // namespace schedule
