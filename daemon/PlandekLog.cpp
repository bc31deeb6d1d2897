#include "daemon/PlandekLog.h"

#include <string>

#include "lib/util/logging/tqLevel.h"
#include "platform/Paths.h"

namespace plandek {

namespace {

std::string logFilePath() {
  return platform::executableDirectory() + platform::pathSeparator() + "plandek.log";
}

}  // namespace

PlandekLog::PlandekLog() : fileHandler_(logFilePath()), logger_(tqLogger::getLogger("plandek")) {
  logger_.addHandler(fileHandler_);
}

DaemonLog PlandekLog::sink() const {
  return [logger = logger_](std::string_view message, const std::vector<std::string>& parameters) mutable {
    logger.log(tqLevel::SEVERE, message, parameters);
  };
}

}  // namespace plandek
