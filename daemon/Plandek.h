#pragma once

#include <functional>
#include <string>
#include <thread>

#include "daemon/DaemonLog.h"
#include "daemon/JobLauncher.h"
#include "daemon/ScheduleFile.h"
#include "daemon/StopRequest.h"
#include "daemon/WallClock.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqList.h"
#include "schedule/Cron.h"
#include "schedule/PassPlanner.h"

namespace plandek {

// The daemon: reads "plandek.dat" from the working directory, starts its
// "@reboot" entries once, then starts every entry due in each minute and
// reloads the file whenever its MD5 digest changes, until a stop is requested.
class Plandek {
 public:
  // Makes the scheduler's thread; throws std::system_error when the system
  // cannot, as std::thread's constructor does.
  using ThreadMaker = std::function<std::thread(std::function<void()> body)>;

  explicit Plandek(DaemonLog log, ThreadMaker makeThread = makeStandardThread);
  Plandek(const Plandek&) = delete;
  Plandek& operator=(const Plandek&) = delete;
  // Stops the scheduler and waits for it, but for no command.
  ~Plandek();

  // Returns once a stop has been requested: true, or false at once when the
  // scheduler could not be started (which is logged).
  bool run();
  // Any thread, any number of times; wakes run and the scheduler at once.
  void requestStop();
  // Any thread, any number of times: the scheduler reads the file at once if
  // it is between passes, reloading it when it changed, and matches nothing
  // before the next minute as it would have.
  void requestScheduleCheck();

 private:
  // Logs the refusal; unless the entries loaded before are kept, reads the
  // bytes, takes their entries and logs the skipped lines and the reload.
  void useSchedule(const ScheduleFile::Change& change);
  void startRebootEntries();
  void schedulerLoop();
  static std::thread makeStandardThread(std::function<void()> body);
  // False when a stop was requested meanwhile.
  bool checkSchedule();
  void startDueEntries(const schedule::MinuteToMatch& minute);
  void startJob(const schedule::Cron& entry);

  // Once run has started the scheduler, only the scheduler thread touches
  // these two.
  ScheduleFile scheduleFile_;
  tqList<schedule::Cron> crons_;
  DaemonLog log_;
  StopRequest stop_;
  WallClock clock_;
  JobLauncher jobs_;
  ThreadMaker makeThread_;
  std::thread schedulerThread_;
};

}  // namespace plandek
