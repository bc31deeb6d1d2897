#include "schedule/ScheduleLoader.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "lib/util/tqLineSplitter.h"
#include "lib/util/tqTextEncoding.h"
#include "platform/Command.h"
#include "platform/CommandEnvironment.h"
#include "platform/SystemText.h"
#include "schedule/CompiledSchedule.h"

namespace schedule {

namespace {

constexpr std::string_view utf8ByteOrderMark = "\xEF\xBB\xBF";
// Blanks and tabs separate words. A whole line is trimmed of blanks only: a
// tab at its end stays in its text and in its command, as records have always
// shown it.
constexpr std::string_view blanks = " ";
constexpr std::string_view separators = " \t";

bool isSeparator(char character) { return character == ' ' || character == '\t'; }

std::string_view withoutLeadingSeparators(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isSeparator(text[start])) ++start;
  return text.substr(start);
}

// `text` without `characters` at either end.
std::string_view trimmed(std::string_view text, std::string_view characters) {
  const std::size_t first = text.find_first_not_of(characters);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(characters) - first + 1);
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

// The fields as an entry keeps them and the log shows them: one blank
// between each two.
std::string scheduleTextOf(const ScheduleFields& fields) {
  std::string text(fields[0]);
  for (std::size_t index = 1; index < fields.size(); ++index) text.append(" ").append(fields[index]);
  return text;
}

const ScheduleMacro* macroNamed(std::string_view word) {
  const auto macro = std::find_if(scheduleMacros.begin(), scheduleMacros.end(),
                                  [word](const ScheduleMacro& candidate) { return candidate.name == word; });
  return macro == scheduleMacros.end() ? nullptr : &*macro;
}

bool isVariableName(std::string_view name) {
  const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  return !name.empty() && isLetter(name.front()) &&
         std::all_of(name.begin(), name.end(), [&](char c) { return isLetter(c) || (c >= '0' && c <= '9'); });
}

// The library's texts end at their first zero byte: each is shown as the two
// characters \0.
std::string withZeroBytesShown(std::string_view text) {
  std::string shown;
  for (const char character : text) {
    if (character == '\0') {
      shown.append("\\0");
    } else {
      shown.push_back(character);
    }
  }
  return shown;
}

// The one place where text that is not UTF-8 is read as the system reads such
// text (Windows: the ANSI code page): entries, records and commands hold UTF-8.
std::string utf8Of(std::string_view text) {
  return isUtf8(text) ? std::string(text) : platform::utf8FromSystemText(text);
}

std::string_view withoutMatchingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Reads the lines in file order; what a line means can depend on the
// environment lines above it.
class ScheduleReader {
 public:
  void readLine(std::string_view line, std::int64_t number) {
    // Files joined together leave their marks at the starts of lines.
    while (line.starts_with(utf8ByteOrderMark)) line.remove_prefix(utf8ByteOrderMark.size());
    line = trimmed(line, blanks);
    std::string_view rest = line;
    const std::string_view first = takeWord(rest);
    if (first.empty() || first.front() == '#') return;
    // Cut at the zero byte, the line would lose what follows it: a
    // redirection, say, and the command would write elsewhere.
    if (line.find('\0') != std::string_view::npos) {
      loaded_.skippedLines.push_back({number, "a zero byte in the line", utf8Of(withZeroBytesShown(line))});
      return;
    }
    const std::string converted = utf8Of(line);
    line = converted;
    const std::optional<std::string> reason = isEnvironmentLine(line) ? readSetting(line, number) : readEntry(line, number);
    if (reason) loaded_.skippedLines.push_back({number, *reason, std::string(line)});
  }

  LoadedSchedule take() { return std::move(loaded_); }

 private:
  // One word or none before the first "=": a blank before it would make the
  // "=" part of a command.
  static bool isEnvironmentLine(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view name = trimmed(line.substr(0, equals), separators);
    return std::none_of(name.begin(), name.end(), isSeparator);
  }

  // The reason when the line is refused.
  std::optional<std::string> readSetting(std::string_view line, std::int64_t number) {
    const std::size_t equals = line.find('=');
    const std::string_view name = trimmed(line.substr(0, equals), separators);
    if (name.empty()) return "no variable name before =";
    if (!isVariableName(name)) return shownInReason(name) + " is not a variable name";
    const std::string_view value = withoutMatchingQuotes(trimmed(line.substr(equals + 1), separators));
    const auto setting = std::find_if(settings_.begin(), settings_.end(),
                                      [name](const platform::CommandEnvironment::Setting& s) { return s.name == name; });
    if (setting == settings_.end()) {
      settings_.push_back({std::string(name), std::string(value)});
    } else {
      setting->value = value;
    }
    loaded_.settings.push_back({number, std::string(name), std::string(value)});
    environmentIsCurrent_ = false;
    return std::nullopt;
  }

  std::optional<std::string> readEntry(std::string_view line, std::int64_t number) {
    std::string_view rest = line;
    const std::string_view first = takeWord(rest);
    std::string schedule;
    std::optional<CompiledSchedule> compiled;
    if (first == startUpSchedule) {
      schedule = first;
      compiled = CompiledSchedule::atStartUp();
    } else {
      std::optional<ScheduleFields> fields;
      if (first.front() == '@') {
        const ScheduleMacro* macro = macroNamed(first);
        if (macro == nullptr) return std::string("unknown macro ").append(first);
        std::string_view expansion = macro->schedule;
        fields = takeScheduleFields(expansion);
      } else {
        rest = line;
        fields = takeScheduleFields(rest);
        if (!fields) return "too few fields";
      }
      const ScheduleCompilation compilation = compileSchedule(*fields);
      if (!compilation.schedule) return compilation.malformation;
      schedule = scheduleTextOf(*fields);
      compiled = compilation.schedule;
    }
    const std::string_view command = withoutLeadingSeparators(rest);
    if (command.empty()) {
      if (first.front() == '@') return std::string(first) + " without a command";
      return "no command after the five time fields";
    }
    // The interpreter would expand the word to the first file names of the folder.
    if (!compiled->runsAtStartUp() && (command.front() == '*' || command.front() == '?')) {
      return std::string("the command starts with '") + command.front() + "': one time field too many?";
    }
    if (const std::string refusal = platform::commandLineRefusal(command); !refusal.empty()) {
      return "the command is " + refusal;
    }
    if (!environmentIsCurrent_) {
      environment_ = platform::CommandEnvironment(settings_);
      environmentIsCurrent_ = true;
    }
    loaded_.crons.add(Cron(schedule, command, *compiled, environment_));
    loaded_.entryLines.push_back(number);
    return std::nullopt;
  }

  LoadedSchedule loaded_;
  std::vector<platform::CommandEnvironment::Setting> settings_;
  // Made when the first entry after a change of the settings needs it.
  platform::CommandEnvironment environment_;
  bool environmentIsCurrent_ = true;
};

}  // namespace

std::optional<ScheduleFields> takeScheduleFields(std::string_view& text) {
  std::string_view rest = text;
  ScheduleFields fields;
  for (std::string_view& field : fields) {
    field = takeWord(rest);
    if (field.empty()) return std::nullopt;
  }
  text = rest;
  return fields;
}

LoadedSchedule readSchedule(std::string_view bytes) {
  std::string decoded;
  const std::string_view text = textOfFile(bytes, decoded);
  ScheduleReader reader;
  std::int64_t number = 0;
  forEachLine(text, [&](std::string_view line) { reader.readLine(line, ++number); });
  return reader.take();
}

}  // namespace schedule
