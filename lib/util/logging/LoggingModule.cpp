// What the logging framework builds before main runs, in this order: the
// known-levels list, the nine level constants, the global logger. They go in
// the reverse order after main returns.
//
// The constants are constant-initialised, so code running before main in any
// other file may use them; the list and the global logger are built on first
// use, which the two initialisers below make happen before main.

#include "lib/util/logging/tqLevel.h"
#include "lib/util/logging/tqLogger.h"

namespace {

const bool knownLevelsBuilt = !tqLevel::knownLevels().isEmpty();

}  // namespace

constinit const tqLevel tqLevel::ALL{"ALL", 0};
constinit const tqLevel tqLevel::FINEST{"FINEST", 300};
constinit const tqLevel tqLevel::FINER{"FINER", 400};
constinit const tqLevel tqLevel::FINE{"FINE", 500};
constinit const tqLevel tqLevel::CONFIG{"CONFIG", 700};
constinit const tqLevel tqLevel::INFO{"INFO", 800};
constinit const tqLevel tqLevel::WARNING{"WARNING", 900};
constinit const tqLevel tqLevel::SEVERE{"SEVERE", 1000};
constinit const tqLevel tqLevel::OFF{"OFF", 0x0FFFFFFF};

namespace {

const bool globalLoggerBuilt = tqLogger::globalLogger().getName().isEmpty();

}  // namespace
