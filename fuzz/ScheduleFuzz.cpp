// A schedule file's bytes through the loader; every entry it keeps, and every
// line taken as a schedule by itself, through both matchers at times drawn
// from the input. The compiled schedule and the textual reference matcher
// must agree wherever the reference reads the grammar, which is numbers only:
// schedules with day or month names are compiled, and must say why when
// malformed, but have no reference. Every refused line says why, and its
// reason holds no "): ", which ends the reason in the log's record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "schedule/CompiledSchedule.h"
#include "schedule/Cron.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleMatcher.h"
#include "schedule/ScheduleTime.h"
#include "tests/support/SchedulesFromText.h"
#include "tests/support/TextualScheduleMatcher.h"

namespace {

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t seed) {
  std::uint64_t hash = 14695981039346656037ull ^ seed;
  for (const char byte : bytes) hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
  return hash;
}

// Times inside every field's range, spread by the input, plus fixed ones that
// hit the fields' edges.
std::vector<schedule::ScheduleTime> timesFor(std::string_view bytes) {
  std::vector<schedule::ScheduleTime> times = {{0, 0, 1, 1, 0}, {59, 23, 31, 12, 6}, {30, 12, 15, 6, 3}};
  for (std::uint64_t seed = 1; seed <= 5; ++seed) {
    std::uint64_t h = fnv1a(bytes, seed);
    schedule::ScheduleTime time;
    time.minute = static_cast<int>(h % 60);
    h /= 60;
    time.hour = static_cast<int>(h % 24);
    h /= 24;
    time.day = static_cast<int>(h % 31) + 1;
    h /= 31;
    time.month = static_cast<int>(h % 12) + 1;
    h /= 12;
    time.weekday = static_cast<int>(h % 7);
    times.push_back(time);
  }
  return times;
}

bool hasLetters(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// `compiled` is `schedule` compiled; none when it is malformed, which is never due.
void requireAgreement(std::string_view schedule, const std::optional<schedule::CompiledSchedule>& compiled,
                      const std::vector<schedule::ScheduleTime>& times) {
  // Its fields, however separated, compile or say why not.
  std::string_view rest = schedule;
  if (const std::optional<schedule::ScheduleFields> fields = schedule::takeScheduleFields(rest)) {
    const schedule::ScheduleCompilation compilation = schedule::compileSchedule(*fields);
    if (!compilation.schedule && compilation.malformation.empty()) __builtin_trap();
  }
  if (schedule != textual::reboot && hasLetters(schedule)) return;
  for (const schedule::ScheduleTime& time : times) {
    if ((compiled && compiled->isDue(time)) != textual::matches(schedule, time)) __builtin_trap();
  }
  // One real date as well, through the date serial both read it from.
  const double serial = 45000.0 + (times.back().hour * 60 + times.back().minute) / 1440.0;
  const schedule::ScheduleTime serialTime = scheduleTimeOf(tqDateSerial(serial));
  const bool due = textual::matches(schedule, serialTime);
  if ((compiled && compiled->isDue(serialTime)) != due || schedule::matches(schedule, serial) != due) __builtin_trap();
  // Both readers of the grammar tell well-formed from malformed alike.
  if (compiled.has_value() != textual::isWellFormed(schedule)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<schedule::ScheduleTime> times = timesFor(bytes);

  const schedule::LoadedSchedule loaded = schedule::readSchedule(bytes);
  for (const schedule::Cron& cron : loaded.crons) {
    const std::string_view schedule = cron.schedule();
    // The loader keeps only entries with a command and a well-formed schedule.
    if (cron.command().empty() || !schedule::isWellFormed(schedule)) __builtin_trap();
    // Nor a timed entry whose command the interpreter would begin by expanding.
    const bool runsAtStartUp = cron.compiledSchedule().runsAtStartUp();
    if (!runsAtStartUp && (cron.command().front() == '*' || cron.command().front() == '?')) __builtin_trap();
    // Only "@reboot" runs at start-up.
    if (runsAtStartUp != (schedule == textual::reboot)) __builtin_trap();
    requireAgreement(schedule, cron.compiledSchedule(), times);
  }
  for (const schedule::SkippedLine& line : loaded.skippedLines) {
    if (line.reason.empty() || line.reason.find("): ") != std::string::npos) __builtin_trap();
  }

  // Malformed schedules too: each line as it stands is a schedule.
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    requireAgreement(line, schedule::compileScheduleText(line), times);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return 0;
}
