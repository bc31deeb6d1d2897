#include "daemon/Plandek.h"

#include <system_error>
#include <utility>

#include "daemon/MinuteLoop.h"
#include "daemon/ScheduleLoader.h"
#include "daemon/ScheduleTime.h"

namespace {

constexpr std::string_view scheduleFileName = "plandek.dat";
constexpr std::string_view rebootSchedule = "@reboot";

}  // namespace

Plandek::Plandek(DaemonLog log) : scheduleFile_(scheduleFileName), log_(std::move(log)), clock_(stop_) {}

Plandek::~Plandek() {
  requestStop();
  if (schedulerThread_.joinable()) schedulerThread_.join();
  jobs_.close();
}

void Plandek::run() {
  // Notes the digest that the first load goes by.
  scheduleFile_.hasChanged();
  loadSchedule();
  startRebootEntries();
  try {
    schedulerThread_ = std::thread(&Plandek::schedulerLoop, this);
  } catch (const std::system_error&) {
    // Nothing to report to; the daemon still stops on request.
  }
  stop_.waitForRequest();
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

void Plandek::schedulerLoop() {
  runMinuteLoop(
      clock_, [this] { checkSchedule(); }, [this](const tqDateSerial& now) { startDueEntries(now); });
}

void Plandek::checkSchedule() {
  if (scheduleFile_.hasChanged()) loadSchedule();
}

void Plandek::startDueEntries(const tqDateSerial& now) {
  const ScheduleTime minute = ScheduleTime::of(now);
  for (std::int64_t at = 0; at < crons_.size(); ++at) {
    const Cron& entry = crons_.at(at);
    if (entry.compiledSchedule().isDue(minute)) startJob(entry.command());
  }
}

void Plandek::startJob(const String& command) { jobs_.start(Process(command, log_)); }
