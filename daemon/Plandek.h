#pragma once

#include <string>
#include <thread>

#include "daemon/Cron.h"
#include "daemon/DaemonLog.h"
#include "daemon/JobLauncher.h"
#include "daemon/ScheduleFile.h"
#include "daemon/StopRequest.h"
#include "daemon/WallClock.h"
#include "lib/lang/tqDateSerial.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqList.h"

// The daemon: reads "plandek.dat" from the working directory, starts its
// "@reboot" entries once, then starts every entry due in each minute and
// reloads the file whenever its MD5 digest changes, until a stop is requested.
class Plandek {
 public:
  explicit Plandek(DaemonLog log);
  Plandek(const Plandek&) = delete;
  Plandek& operator=(const Plandek&) = delete;
  // Stops the scheduler and waits for it, but for no command.
  ~Plandek();

  // Returns once a stop has been requested.
  void run();
  // Any thread, any number of times; wakes run and the scheduler at once.
  void requestStop();

 private:
  void loadSchedule();
  void startRebootEntries();
  void schedulerLoop();
  void checkSchedule();
  void startDueEntries(const tqDateSerial& now);
  void startJob(const String& command);

  // Once run has started the scheduler, only the scheduler thread touches
  // these two.
  ScheduleFile scheduleFile_;
  tqList<Cron> crons_;
  DaemonLog log_;
  StopRequest stop_;
  WallClock clock_;
  JobLauncher jobs_;
  std::thread schedulerThread_;
};
