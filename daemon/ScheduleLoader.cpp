#include "daemon/ScheduleLoader.h"

#include <algorithm>

#include "daemon/CompiledSchedule.h"
#include "daemon/ScheduleTime.h"
#include "lib/util/tqLineSplitter.h"

namespace {

constexpr std::string_view reboot = "@reboot";

bool isSeparator(char character) { return character == ' ' || character == '\t'; }

std::string_view withoutLeadingSeparators(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isSeparator(text[start])) ++start;
  return text.substr(start);
}

std::string_view trimmedOfBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The next word of `rest`; `rest` keeps what follows it.
std::string_view takeWord(std::string_view& rest) {
  rest = withoutLeadingSeparators(rest);
  std::size_t end = 0;
  while (end < rest.size() && !isSeparator(rest[end])) ++end;
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

const ScheduleMacro* macroNamed(std::string_view word) {
  const auto macro = std::find_if(scheduleMacros.begin(), scheduleMacros.end(),
                                  [word](const ScheduleMacro& candidate) { return candidate.name == word; });
  return macro == scheduleMacros.end() ? nullptr : &*macro;
}

void readLine(std::string_view line, std::int64_t number, LoadedSchedule& loaded) {
  line = trimmedOfBlanks(line.substr(0, line.find('\0')));
  std::string_view rest = line;
  const std::string_view first = takeWord(rest);
  if (first.empty() || first.front() == '#') return;

  std::string schedule;
  if (first == reboot) {
    schedule = reboot;
  } else if (const ScheduleMacro* macro = macroNamed(first)) {
    schedule = macro->schedule;
  } else {
    schedule = first;
    for (int field = 1; field < scheduleFieldCount; ++field) schedule.append(" ").append(takeWord(rest));
  }
  const std::string_view command = withoutLeadingSeparators(rest);
  const ScheduleCompilation compilation = compileSchedule(schedule);
  if (command.empty() || !compilation.schedule) {
    loaded.skippedLines.push_back({number, std::string(line)});
    return;
  }
  loaded.crons.add(Cron(schedule, command, *compilation.schedule));
}

}  // namespace

LoadedSchedule readSchedule(std::string_view bytes) {
  LoadedSchedule loaded;
  std::int64_t number = 0;
  forEachLine(bytes, [&](std::string_view line) { readLine(line, ++number, loaded); });
  return loaded;
}
