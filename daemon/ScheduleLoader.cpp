#include "daemon/ScheduleLoader.h"

#include <utility>

#include "daemon/ScheduleMatcher.h"
#include "daemon/ScheduleTime.h"

namespace {

constexpr std::string_view reboot = "@reboot";

struct Macro {
  String name;
  String schedule;
};

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

class LineReader {
 public:
  explicit LineReader(const tqMap<String, String>& macros) {
    std::vector<String> names;
    macros.keySet().toArray(names);
    for (String& name : names) {
      String schedule = macros.get(name);
      macros_.push_back({std::move(name), std::move(schedule)});
    }
  }

  void read(std::string_view line, std::int64_t number) {
    line = trimmedOfBlanks(line.substr(0, line.find('\0')));
    std::string_view rest = line;
    const std::string_view first = takeWord(rest);
    if (first.empty() || first.front() == '#') return;

    std::string schedule;
    if (first == reboot) {
      schedule = reboot;
    } else if (const Macro* macro = macroNamed(first)) {
      schedule = macro->schedule;
    } else {
      schedule = first;
      for (int field = 1; field < scheduleFieldCount; ++field) schedule.append(" ").append(takeWord(rest));
    }
    const std::string_view command = withoutLeadingSeparators(rest);
    if (command.empty() || !isWellFormed(schedule)) {
      loaded_.skippedLines.push_back({number, std::string(line)});
      return;
    }
    loaded_.crons.add(Cron(schedule, command));
  }

  LoadedSchedule take() { return std::move(loaded_); }

 private:
  const Macro* macroNamed(std::string_view word) const {
    for (const Macro& macro : macros_) {
      if (macro.name == word) return &macro;
    }
    return nullptr;
  }

  std::vector<Macro> macros_;
  LoadedSchedule loaded_;
};

}  // namespace

tqMap<String, String> scheduleMacros() {
  tqMap<String, String> macros;
  macros.put("@hourly", "0 * * * *");
  macros.put("@daily", "0 0 * * *");
  macros.put("@midnight", "0 0 * * *");
  macros.put("@weekly", "0 0 * * 0");
  macros.put("@monthly", "0 0 1 * *");
  macros.put("@yearly", "0 0 1 1 *");
  macros.put("@annually", "0 0 1 1 *");
  return macros;
}

LoadedSchedule readSchedule(std::string_view bytes, const tqMap<String, String>& macros) {
  LineReader reader(macros);
  std::int64_t number = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find_first_of("\r\n");
    reader.read(bytes.substr(0, end), ++number);
    if (end == std::string_view::npos) break;
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    bytes.remove_prefix(end + (crLf ? 2 : 1));
  }
  return reader.take();
}
