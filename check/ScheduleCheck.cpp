#include "check/ScheduleCheck.h"

#include <memory>
#include <unordered_map>

#include "check/CronHabits.h"
#include "check/NextStarts.h"
#include "check/ScheduleDescription.h"
#include "daemon/ScheduleFile.h"
#include "platform/File.h"
#include "platform/SystemNames.h"

namespace check {

namespace {

template <typename Found>
void add(std::vector<Finding>& findings, Found&& found) {
  if constexpr (std::is_same_v<std::decay_t<Found>, std::optional<Finding>>) {
    if (found) findings.push_back(std::move(*found));
  } else {
    findings.insert(findings.end(), found.begin(), found.end());
  }
}

std::string joined(const std::vector<std::string>& texts) {
  std::string text;
  for (const std::string& piece : texts) text.append(text.empty() ? "" : ", ").append(piece);
  return text;
}

void addNotes(std::vector<Finding>& findings, const schedule::Cron& entry, std::int64_t line,
              const CheckSettings& settings) {
  if (std::string description = describeSchedule(entry); !description.empty()) {
    findings.push_back({line, Severity::note, std::move(description)});
  }
  const schedule::CompiledSchedule& compiled = entry.compiledSchedule();
  if (compiled.runsAtStartUp()) return;
  if (const auto starts = nextStarts(compiled, settings.from, settings.nextStartCount, settings.zone);
      !starts.empty()) {
    findings.push_back({line, Severity::note, "next: " + joined(starts)});
  }
  for (std::string& note : summerTimeNotes(compiled, settings.from, settings.zone)) {
    findings.push_back({line, Severity::note, std::move(note)});
  }
}

// Why a file that gave no bytes and no refusal holds no entries; empty for an
// empty file.
std::string whyNothingWasRead(std::string_view fileName) {
  const platform::File file = platform::File::openForReading(fileName);
  if (!file.isOpen()) {
    const platform::File::ReadFailure failure = platform::File::lastReadFailure();
    if (failure.kind == platform::File::ReadFailure::Kind::missing) return "not found";
    return "not readable: " + failure.text;
  }
  if (!file.isRegularFile()) return "not a regular file";
  return {};
}

}  // namespace

SystemAnswers SystemAnswers::ofThisSystem() {
  // Each name asked once: the commands of a long file begin with the same few words.
  auto knownNames = std::make_shared<std::unordered_map<std::string, bool>>();
  return {.isUserAccountName =
              [knownNames](std::string_view name) {
                const auto [known, isNew] = knownNames->try_emplace(std::string(name));
                if (isNew) known->second = platform::isUserAccountName(name);
                return known->second;
              },
          .isExecutableFile = platform::isExecutableFile,
          .shellChoosesInterpreter = platform::shellChoosesInterpreter()};
}

std::vector<Finding> checkSchedule(const schedule::LoadedSchedule& loaded, const CheckSettings& settings) {
  std::vector<Finding> findings;
  for (const schedule::SkippedLine& skipped : loaded.skippedLines) {
    findings.push_back({skipped.number, Severity::error, "skipped (" + skipped.reason + ")"});
  }
  for (const schedule::SettingLine& setting : loaded.settings) {
    add(findings, settingNotActedOn(setting));
    add(findings, shellSetting(setting, settings.system.shellChoosesInterpreter, settings.system.isExecutableFile));
  }
  std::vector<EntryText> entries;
  std::size_t index = 0;
  for (const schedule::Cron& entry : loaded.crons) {
    const std::int64_t line = loaded.entryLines[index++];
    const EntryText text = entryTextOf(entry, line);
    addNotes(findings, entry, line, settings);
    add(findings, stepsCountedFromZero(text));
    add(findings, stepsOnASingleValue(text));
    add(findings, bothDaysRestricted(text));
    if (!entry.compiledSchedule().runsAtStartUp()) {
      add(findings, rarelyDue(text, entry.compiledSchedule().yearsDue()));
    }
    add(findings, percentSigns(text));
    add(findings, userColumn(text, settings.system.isUserAccountName));
    entries.push_back(text);
  }
  add(findings, repeatedEntries(entries));
  return findings;
}

std::vector<Finding> checkScheduleFile(std::string_view fileName, const CheckSettings& settings) {
  // One read: a file being written is what it is now.
  plandek::ScheduleFile file(fileName, [](std::chrono::milliseconds) { return false; });
  const std::optional<plandek::ScheduleFile::Change> change = file.readIfChanged();
  if (change && !change->refusal.empty()) {
    const std::string_view consequence =
        change->keepsEntries ? "plandek keeps the entries it had loaded" : "plandek would run none of its entries";
    return {{0, Severity::error, "refused (" + change->refusal + "): " + std::string(consequence)}};
  }
  if (!change) {
    // The empty digest: a file missing, empty or not a regular file.
    if (const std::string why = whyNothingWasRead(fileName); !why.empty()) {
      return {{0, Severity::error, why + ": plandek would run no entries"}};
    }
    return {};
  }
  return checkSchedule(schedule::readSchedule(change->bytes), settings);
}

}  // namespace check
