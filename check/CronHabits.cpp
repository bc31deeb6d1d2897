#include "check/CronHabits.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace check {

namespace {

using schedule::ScheduleField;

// Appended, not "'" + text: GCC 12 at -O3 warns of an overlap in the latter.
std::string quoted(std::string_view piece) { return std::string("'").append(piece).append("'"); }

std::string listed(const std::vector<int>& values) {
  std::string text;
  for (const int value : values) text.append(text.empty() ? "" : ", ").append(std::to_string(value));
  return text;
}

bool isDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view firstWord(std::string_view text, std::string_view& rest) {
  const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
  rest = text.substr(end);
  const std::size_t next = rest.find_first_not_of(" \t");
  rest = next == std::string_view::npos ? std::string_view() : rest.substr(next);
  return text.substr(0, end);
}

struct IgnoredSetting {
  std::string_view name;
  std::string_view why;
};

// What cron (and its kin) act on that plandek leaves to the commands.
constexpr IgnoredSetting ignoredSettings[] = {
    {"MAILTO", "plandek mails nothing"},
    {"MAILFROM", "plandek mails nothing"},
    {"CONTENT_TYPE", "plandek mails nothing"},
    {"CONTENT_TRANSFER_ENCODING", "plandek mails nothing"},
    {"CRON_TZ", "schedules keep the system's local time"},
    {"RANDOM_DELAY", "plandek delays no start"},
};

}  // namespace

EntryText entryTextOf(const schedule::Cron& entry, std::int64_t line) {
  EntryText text{.line = line, .schedule = entry.schedule(), .fields = {},
                 .command = entry.command()};
  if (entry.compiledSchedule().runsAtStartUp()) return text;
  std::string_view rest = text.schedule;
  for (std::string& field : text.fields) field = firstWord(rest, rest);
  return text;
}

std::vector<Finding> stepsCountedFromZero(const EntryText& entry) {
  std::vector<Finding> findings;
  for (const ScheduleField field : {ScheduleField::dayOfMonth, ScheduleField::month}) {
    const std::string& text = entry.fields[static_cast<int>(field)];
    if (!text.starts_with("*/") || !isDigits(text.substr(2))) continue;
    int step = 0;
    const std::from_chars_result read = std::from_chars(text.data() + 2, text.data() + text.size(), step);
    // A step of 1 keeps every value either way.
    if (read.ec != std::errc() || step <= 1) continue;
    const schedule::ScheduleFieldRule& rule = schedule::ruleOf(field);
    std::vector<int> here;
    std::vector<int> inCron;
    for (int value = rule.first; value <= rule.last; ++value) {
      if (value % step == 0) here.push_back(value);
      if ((value - rule.first) % step == 0) inCron.push_back(value);
    }
    findings.push_back({entry.line, Severity::warning,
                        quoted(text) + " in the " + std::string(rule.name) + " counts from 0 here (" +
                            (here.empty() ? std::string("never") : listed(here)) + "); cron counts from " +
                            std::to_string(rule.first) + " (" + listed(inCron) + ")"});
  }
  return findings;
}

std::vector<Finding> stepsOnASingleValue(const EntryText& entry) {
  std::vector<Finding> findings;
  for (int index = 0; index < schedule::scheduleFieldCount; ++index) {
    const std::string& text = entry.fields[index];
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) continue;
    const std::string value = text.substr(0, slash);
    if (value.empty() || value == "*" || value.find_first_of(",-") != std::string::npos) continue;
    const schedule::ScheduleFieldRule& rule = schedule::scheduleFieldRules[index];
    const std::string step = text.substr(slash + 1);
    // "*" counts from 0, so "*/5" says it where the field starts at 0.
    const std::string meant = value == "0" && rule.first == 0 ? "*/" + step
                                                              : value + "-" + std::to_string(rule.last) + "/" + step;
    findings.push_back({entry.line, Severity::warning,
                        quoted(text) + " is " + std::string(rule.name) + " " + value + " alone here; every " + step +
                            " from " + value + " is " + quoted(meant)});
  }
  return findings;
}

std::vector<Finding> percentSigns(const EntryText& entry) {
  std::vector<Finding> findings;
  const std::string& command = entry.command;
  if (command.find("\\%") != std::string::npos) {
    findings.push_back({entry.line, Severity::warning,
                        "'\\%' in the command is passed as written here; cron passes '%'"});
  }
  for (std::size_t at = command.find('%'); at != std::string::npos; at = command.find('%', at + 1)) {
    if (at > 0 && command[at - 1] == '\\') continue;
    findings.push_back({entry.line, Severity::warning,
                        "'%' in the command is passed as written here; cron ends the command at it and "
                        "sends the rest as its input"});
    break;
  }
  return findings;
}

std::optional<Finding> userColumn(const EntryText& entry,
                                  const std::function<bool(std::string_view)>& isUserAccount) {
  std::string_view rest;
  const std::string_view first = firstWord(entry.command, rest);
  // A word that begins with "-" is an option: "mail -s ..." runs the command
  // mail, though a user mail may exist too.
  if (rest.empty() || rest.front() == '-') return std::nullopt;
  // A path is no account name on either system; not asking spares a file of
  // many thousand commands as many reads of the account list.
  if (first.find_first_of("/\\") != std::string_view::npos) return std::nullopt;
  if (first != "root" && !isUserAccount(first)) return std::nullopt;
  return Finding{entry.line, Severity::warning,
                 quoted(first) + " is run as a command here: plandek has no user column, and every "
                                 "entry runs as the user running plandek"};
}

std::optional<Finding> bothDaysRestricted(const EntryText& entry) {
  const std::string& day = entry.fields[static_cast<int>(ScheduleField::dayOfMonth)];
  const std::string& weekday = entry.fields[static_cast<int>(ScheduleField::dayOfWeek)];
  if (day.empty() || day.front() == '*' || weekday.front() == '*') return std::nullopt;
  return Finding{entry.line, Severity::warning,
                 "day of month " + quoted(day) + " and day of week " + quoted(weekday) +
                     " both restricted: here both must hold; cron runs when either does"};
}

std::optional<Finding> rarelyDue(const EntryText& entry, schedule::CompiledSchedule::YearsDue yearsDue) {
  using YearsDue = schedule::CompiledSchedule::YearsDue;
  std::string_view when;
  switch (yearsDue) {
    case YearsDue::every:
      return std::nullopt;
    case YearsDue::leapOnly:
      when = " is due only in leap years";
      break;
    case YearsDue::some:
      when = " is due only in the years its day of month falls on its day of week";
      break;
    case YearsDue::never:
      when = " is never due";
      break;
  }
  return Finding{entry.line, Severity::warning, quoted(entry.schedule).append(when)};
}

std::vector<Finding> repeatedEntries(const std::vector<EntryText>& entries) {
  std::vector<Finding> findings;
  // Keyed by schedule and command: a file of many thousand lines is checked in one pass.
  std::unordered_map<std::string, std::int64_t> firstLineOf;
  firstLineOf.reserve(entries.size());
  for (const EntryText& entry : entries) {
    std::string key = entry.schedule;
    key.append(1, '\n').append(entry.command);
    const auto [first, isFirst] = firstLineOf.try_emplace(std::move(key), entry.line);
    if (isFirst) continue;
    findings.push_back({entry.line, Severity::warning,
                        quoted(entry.schedule + " " + entry.command) + " is the same entry as line " +
                            std::to_string(first->second) + ": it runs twice"});
  }
  return findings;
}

std::optional<Finding> settingNotActedOn(const schedule::SettingLine& setting) {
  const auto ignored = std::find_if(std::begin(ignoredSettings), std::end(ignoredSettings),
                                    [&](const IgnoredSetting& candidate) { return candidate.name == setting.name; });
  if (ignored == std::end(ignoredSettings)) return std::nullopt;
  return Finding{setting.number, Severity::warning,
                 quoted(setting.name) + " is not acted on: " + std::string(ignored->why) +
                     "; the commands receive it as a variable"};
}

std::optional<Finding> shellSetting(const schedule::SettingLine& setting, bool shellChoosesInterpreter,
                                    const std::function<bool(std::string_view)>& isExecutableFile) {
  if (setting.name != "SHELL") return std::nullopt;
  if (!shellChoosesInterpreter) {
    return Finding{setting.number, Severity::warning,
                   "'SHELL' chooses no interpreter on this system: cmd.exe runs every command"};
  }
  // An empty SHELL means the default interpreter.
  if (setting.value.empty() || isExecutableFile(setting.value)) return std::nullopt;
  return Finding{setting.number, Severity::warning,
                 "SHELL " + quoted(setting.value) + " is not an executable file: the entries below it cannot start"};
}

}  // namespace check
