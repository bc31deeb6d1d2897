#pragma once

#include "daemon/DaemonLog.h"
#include "lib/util/logging/tqFileHandler.h"
#include "lib/util/logging/tqLogger.h"

namespace plandek {

// "plandek.log" beside the executable, appended to, through the logger
// "plandek". It must outlive every sink it hands out: each job's start
// is logged through a copy of its logger into its one file handler.
class PlandekLog {
 public:
  PlandekLog();
  PlandekLog(const PlandekLog&) = delete;
  PlandekLog& operator=(const PlandekLog&) = delete;

  // Each copy of the sink carries its own copy of the logger, so that the
  // threads that start jobs never share a logger object, only the file handler.
  DaemonLog sink() const;

 private:
  tqFileHandler fileHandler_;
  tqLogger logger_;
};

}  // namespace plandek
