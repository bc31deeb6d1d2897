#include "check/ScheduleDescription.h"

#include <array>
#include <cstdio>
#include <optional>
#include <vector>

#include "schedule/CompiledSchedule.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleTime.h"

namespace check {

using schedule::ScheduleField;

namespace {

constexpr const char* monthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                      "July",    "August",   "September", "October", "November", "December"};
constexpr const char* dayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// The values a field holds, read back from the compiler itself: the field
// compiled beside four "*", asked value by value. Whatever the field's text,
// the words then say what plandek does, not what the text seems to say.
std::optional<std::vector<int>> valuesOf(const schedule::ScheduleFields& fields, ScheduleField which) {
  schedule::ScheduleFields alone = {"*", "*", "*", "*", "*"};
  alone[static_cast<int>(which)] = fields[static_cast<int>(which)];
  const std::optional<schedule::CompiledSchedule> compiled = schedule::compileSchedule(alone).schedule;
  if (!compiled) return std::nullopt;
  const schedule::ScheduleFieldRule& rule = schedule::ruleOf(which);
  // Sunday is 0 as well as 7: asked as 0 only.
  const int last = which == ScheduleField::dayOfWeek ? 6 : rule.last;
  std::vector<int> values;
  for (int value = rule.first; value <= last; ++value) {
    schedule::ScheduleTime time;
    (which == ScheduleField::minute       ? time.minute
     : which == ScheduleField::hour       ? time.hour
     : which == ScheduleField::dayOfMonth ? time.day
     : which == ScheduleField::month      ? time.month
                                          : time.weekday) = value;
    if (compiled->isDue(time)) values.push_back(value);
  }
  return values;
}

bool isWhole(const std::vector<int>& values, ScheduleField which) {
  const schedule::ScheduleFieldRule& rule = schedule::ruleOf(which);
  const int last = which == ScheduleField::dayOfWeek ? 6 : rule.last;
  return static_cast<int>(values.size()) == last - rule.first + 1;
}

// The step s of values 0, s, 2s, ... that run evenly through the field; 0 otherwise.
int evenStepOf(const std::vector<int>& values, int fieldSize) {
  if (values.size() < 2 || values.front() != 0) return 0;
  const int step = values[1];
  for (std::size_t index = 0; index < values.size(); ++index) {
    if (values[index] != static_cast<int>(index) * step) return 0;
  }
  return fieldSize % step == 0 && values.back() + step == fieldSize ? step : 0;
}

// "1-5,10,20-22"
std::string numbersText(const std::vector<int>& values) {
  std::string text;
  for (std::size_t index = 0; index < values.size();) {
    std::size_t end = index;
    while (end + 1 < values.size() && values[end + 1] == values[end] + 1) ++end;
    if (!text.empty()) text += ",";
    text += std::to_string(values[index]);
    if (end > index) {
      text += end == index + 1 ? ',' : '-';
      text += std::to_string(values[end]);
    }
    index = end + 1;
  }
  return text;
}

// "Monday to Friday", "Saturday and Sunday", "Monday, Wednesday and Friday".
std::string namesText(const std::vector<int>& values, const char* const* names, int offset, bool wraps) {
  std::vector<int> ordered = values;
  // Saturday and Sunday read as a run from Saturday on.
  if (wraps && ordered.size() > 1 && ordered.front() == 0 && ordered.back() == 6) {
    ordered.erase(ordered.begin());
    ordered.push_back(7);
  }
  const auto nameOf = [&](int value) { return std::string(names[(value - offset) % (wraps ? 7 : 12)]); };
  bool isRun = ordered.size() >= 3;
  for (std::size_t index = 1; index < ordered.size(); ++index) isRun = isRun && ordered[index] == ordered[index - 1] + 1;
  if (isRun) return nameOf(ordered.front()) + " to " + nameOf(ordered.back());
  std::string text;
  for (std::size_t index = 0; index < ordered.size(); ++index) {
    if (index > 0) text += index + 1 == ordered.size() ? " and " : ", ";
    text += nameOf(ordered[index]);
  }
  return text;
}

std::string clockText(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

std::string timeText(const std::vector<int>& minutes, const std::vector<int>& hours) {
  const bool everyHour = isWhole(hours, ScheduleField::hour);
  if (everyHour) {
    if (isWhole(minutes, ScheduleField::minute)) return "every minute";
    if (const int step = evenStepOf(minutes, 60)) return "every " + std::to_string(step) + " minutes";
    if (minutes.size() == 1) return "at minute " + std::to_string(minutes.front()) + " of every hour";
    return "at minutes " + numbersText(minutes) + " of every hour";
  }
  if (minutes.size() * hours.size() <= 3) {
    std::string text = "at ";
    std::size_t written = 0;
    for (const int hour : hours) {
      for (const int minute : minutes) {
        if (written > 0) text += written + 1 == minutes.size() * hours.size() ? " and " : ", ";
        text += clockText(hour, minute);
        ++written;
      }
    }
    return text;
  }
  const std::string hoursText = (hours.size() == 1 ? "hour " : "hours ") + numbersText(hours);
  if (isWhole(minutes, ScheduleField::minute)) return "every minute of " + hoursText;
  if (const int step = evenStepOf(minutes, 60)) return "every " + std::to_string(step) + " minutes in " + hoursText;
  return (minutes.size() == 1 ? "at minute " : "at minutes ") + numbersText(minutes) + " of " + hoursText;
}

}  // namespace

std::string describeSchedule(const schedule::Cron& entry) {
  if (entry.compiledSchedule().runsAtStartUp()) return "at every start of plandek";
  std::string_view text = entry.schedule();
  const std::optional<schedule::ScheduleFields> fields = schedule::takeScheduleFields(text);
  if (!fields) return "never";
  std::array<std::vector<int>, schedule::scheduleFieldCount> values;
  for (int index = 0; index < schedule::scheduleFieldCount; ++index) {
    std::optional<std::vector<int>> read = valuesOf(*fields, static_cast<ScheduleField>(index));
    if (!read) return "never";
    values[index] = std::move(*read);
  }
  const auto& [minutes, hours, days, months, weekdays] = values;
  if (minutes.empty() || hours.empty() || days.empty() || months.empty() || weekdays.empty()) return "never";
  std::string description = timeText(minutes, hours);
  const bool everyDay = isWhole(days, ScheduleField::dayOfMonth);
  const bool everyMonth = isWhole(months, ScheduleField::month);
  if (!everyDay) {
    description += (days.size() == 1 ? " on day " : " on days ") + numbersText(days) + " of the month";
  }
  if (!everyMonth) description += " in " + namesText(months, monthNames, 1, false);
  if (!isWhole(weekdays, ScheduleField::dayOfWeek)) {
    const std::string names = namesText(weekdays, dayNames, 0, true);
    const bool isRange = names.find(" to ") != std::string::npos;
    // A day of the month and a weekday must both hold, as in plandek.
    description += everyDay && everyMonth ? (isRange ? ", " : ", on ") : (isRange ? ", only " : ", only on ");
    description += names;
  }
  return description;
}

}  // namespace check
