#include "daemon/Plandek.h"

#include <system_error>
#include <utility>

#include "daemon/DueEntries.h"
#include "daemon/MinuteLoop.h"
#include "daemon/ScheduleLoader.h"

namespace {

constexpr std::string_view scheduleFileName = "plandek.dat";
constexpr std::string_view rebootSchedule = "@reboot";

}  // namespace

Plandek::Plandek(DaemonLog log, ThreadMaker makeThread)
    : scheduleFile_(scheduleFileName), log_(std::move(log)), clock_(stop_), makeThread_(std::move(makeThread)) {}

Plandek::~Plandek() {
  requestStop();
  if (schedulerThread_.joinable()) schedulerThread_.join();
  jobs_.close();
}

bool Plandek::run() {
  // Notes the digest that the first load goes by.
  scheduleFile_.hasChanged();
  loadSchedule();
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

void Plandek::loadSchedule() {
  LoadedSchedule loaded = scheduleFile_.load();
  crons_ = std::move(loaded.crons);
  for (const SkippedLine& line : loaded.skippedLines) {
    log_("Skipped line {0}: {1}", {std::to_string(line.number), line.text});
  }
  log_("Reloaded crons -> {0}", {crons_.toString()});
}

void Plandek::startRebootEntries() {
  for (std::int64_t at = 0; at < crons_.size(); ++at) {
    const Cron& entry = crons_.at(at);
    if (entry.schedule() == rebootSchedule) startJob(entry.command());
  }
}

std::thread Plandek::makeStandardThread(std::function<void()> body) { return std::thread(std::move(body)); }

void Plandek::schedulerLoop() {
  runMinuteLoop(
      clock_, [this] { return checkSchedule(); },
      [this](const MinuteToMatch& minute) { startDueEntries(minute); });
}

bool Plandek::checkSchedule() {
  if (scheduleFile_.hasChanged()) loadSchedule();
  return !stop_.isRequested();
}

void Plandek::startDueEntries(const MinuteToMatch& minute) {
  forEachDueEntry(crons_, minute, [this](const Cron& entry) { startJob(entry.command()); });
}

void Plandek::startJob(const String& command) { jobs_.start(Process(command, log_)); }
