#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/Finding.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleTime.h"

namespace check {

// An entry as the loader kept it, for the habits that read its text.
struct EntryText {
  std::int64_t line = 0;
  // The five fields joined by single blanks, or "@reboot".
  std::string schedule;
  // Empty for @reboot, which has no fields.
  std::array<std::string, schedule::scheduleFieldCount> fields;
  std::string command;
};

EntryText entryTextOf(const schedule::Cron& entry, std::int64_t line);

// Warnings about habits from cron that mean something else here, one
// function a habit; each quotes the piece of the line it is about.

// "*/8" in the day of month or the month counts from 0 here, from 1 in cron.
std::vector<Finding> stepsCountedFromZero(const EntryText& entry);
// "0/5" is 0 alone here; cron reads it as every 5 from 0.
std::vector<Finding> stepsOnASingleValue(const EntryText& entry);
// cron turns "\%" into "%" and a bare "%" into a new line; plandek does neither.
std::vector<Finding> percentSigns(const EntryText& entry);
// A user column ("root cd / && run-parts ..."): here the user is run as a command.
std::optional<Finding> userColumn(const EntryText& entry,
                                  const std::function<bool(std::string_view)>& isUserAccount);
// Both day fields restricted: here both must hold, in cron either.
std::optional<Finding> bothDaysRestricted(const EntryText& entry);
// A schedule never due, or due only in some years (29 February).
std::optional<Finding> rarelyDue(const EntryText& entry, schedule::CompiledSchedule::YearsDue yearsDue);
// The second and later entries the same as one above them.
std::vector<Finding> repeatedEntries(const std::vector<EntryText>& entries);
// An environment line that cron acts on and plandek does not (MAILTO).
std::optional<Finding> settingNotActedOn(const schedule::SettingLine& setting);
// SHELL naming no executable file where SHELL chooses the interpreter; a
// SHELL that chooses nothing where it does not (Windows).
std::optional<Finding> shellSetting(const schedule::SettingLine& setting, bool shellChoosesInterpreter,
                                    const std::function<bool(std::string_view)>& isExecutableFile);

}  // namespace check
