#pragma once

#include <chrono>
#include <functional>
#include <string_view>
#include <vector>

#include "check/Finding.h"
#include "check/LocalZone.h"
#include "schedule/ScheduleLoader.h"

namespace check {

// What the checks ask of the system; tests give their own answers.
struct SystemAnswers {
  std::function<bool(std::string_view)> isUserAccountName;
  std::function<bool(std::string_view)> isExecutableFile;
  bool shellChoosesInterpreter = true;

  // The platform's answers.
  static SystemAnswers ofThisSystem();
};

struct CheckSettings {
  // The next starts are counted from here.
  std::chrono::sys_seconds from;
  int nextStartCount = 3;
  const LocalZone& zone;
  SystemAnswers system;
};

// The findings about a schedule as plandek loaded it: an error for each line
// it skipped, the cron habits it would read otherwise than cron, and for each
// entry notes on when it runs.
std::vector<Finding> checkSchedule(const schedule::LoadedSchedule& loaded, const CheckSettings& settings);

// The file read as plandek reads it (plandek::ScheduleFile, once), then
// checked; a file refused, missing or not a regular file is an error of the
// whole file.
std::vector<Finding> checkScheduleFile(std::string_view fileName, const CheckSettings& settings);

}  // namespace check
