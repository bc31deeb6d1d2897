#include "daemon/Plandek.h"

#include <chrono>
#include <system_error>
#include <utility>

#include "daemon/MinuteLoop.h"
#include "schedule/DueEntries.h"
#include "schedule/ScheduleLoader.h"

namespace plandek {

namespace {

constexpr std::string_view scheduleFileName = "plandek.dat";

}  // namespace

Plandek::Plandek(DaemonLog log, ThreadMaker makeThread)
    : scheduleFile_(scheduleFileName, [this](std::chrono::milliseconds pause) {
        // A check asked for meanwhile only shortens the pause: a check is under way.
        return stop_.waitFor(pause) != StopRequest::WaitEnd::stopRequested;
      }),
      log_(std::move(log)), clock_(stop_), makeThread_(std::move(makeThread)) {}

Plandek::~Plandek() {
  requestStop();
  if (schedulerThread_.joinable()) schedulerThread_.join();
  jobs_.close();
}

bool Plandek::run() {
  // A file that is missing or empty is a change from nothing to no entries.
  useSchedule(scheduleFile_.readIfChanged().value_or(ScheduleFile::Change{}));
  // A stop that came during a long load starts nothing.
  if (stop_.isRequested()) return true;
  startRebootEntries();
  try {
    schedulerThread_ = makeThread_([this] { schedulerLoop(); });
  } catch (const std::system_error& error) {
    // A daemon without its scheduler would sit idle and look healthy.
    log_("Could not start the scheduler, stopping: {0}", {error.what()});
    return false;
  }
  stop_.waitForRequest();
  return true;
}

void Plandek::requestStop() { stop_.request(); }

void Plandek::requestScheduleCheck() { stop_.requestCheck(); }

void Plandek::useSchedule(const ScheduleFile::Change& change) {
  if (!change.refusal.empty()) log_("Refused {0} ({1})", {std::string(scheduleFileName), change.refusal});
  if (change.keepsEntries) return;
  schedule::LoadedSchedule loaded = schedule::readSchedule(change.bytes);
  crons_ = std::move(loaded.crons);
  for (const schedule::SkippedLine& line : loaded.skippedLines) {
    log_("Skipped line {0} ({1}): {2}", {std::to_string(line.number), line.reason, line.text});
  }
  log_("Reloaded crons -> {0}", {crons_.toString()});
}

void Plandek::startRebootEntries() {
  for (const schedule::Cron& entry : crons_) {
    if (entry.compiledSchedule().runsAtStartUp()) startJob(entry);
  }
}

std::thread Plandek::makeStandardThread(std::function<void()> body) { return std::thread(std::move(body)); }

void Plandek::schedulerLoop() {
  runMinuteLoop(
      clock_, [this] { return checkSchedule(); },
      [this](const schedule::MinuteToMatch& minute) { startDueEntries(minute); });
}

bool Plandek::checkSchedule() {
  if (std::optional<ScheduleFile::Change> change = scheduleFile_.readIfChanged()) useSchedule(*change);
  return !stop_.isRequested();
}

void Plandek::startDueEntries(const schedule::MinuteToMatch& minute) {
  schedule::forEachDueEntry(crons_, minute, [this](const schedule::Cron& entry) { startJob(entry); });
}

void Plandek::startJob(const schedule::Cron& entry) { jobs_.start(Process(entry.command(), log_, entry.environment())); }

}  // namespace plandek
