// What the logging framework builds before main runs, in this order: the
// known-levels list, the nine level constants, the global logger. They go in
// the reverse order after main returns.
//
// The constants have constant initialisers, which g++ evaluates at compile
// time, so code running before main in any other file may use them (clang 14
// cannot evaluate a std::string at compile time and builds them first thing
// in this file instead). The list and the global logger are built on first
// use, which the two initialisers below make happen before main.

#include "lib/util/logging/tqLevel.h"
#include "lib/util/logging/tqLogger.h"

namespace {

const bool knownLevelsBuilt = !tqLevel::knownLevels().isEmpty();

}  // namespace

const tqLevel tqLevel::ALL{"ALL", 0, Constant{}};
const tqLevel tqLevel::FINEST{"FINEST", 300, Constant{}};
const tqLevel tqLevel::FINER{"FINER", 400, Constant{}};
const tqLevel tqLevel::FINE{"FINE", 500, Constant{}};
const tqLevel tqLevel::CONFIG{"CONFIG", 700, Constant{}};
const tqLevel tqLevel::INFO{"INFO", 800, Constant{}};
const tqLevel tqLevel::WARNING{"WARNING", 900, Constant{}};
const tqLevel tqLevel::SEVERE{"SEVERE", 1000, Constant{}};
const tqLevel tqLevel::OFF{"OFF", 0x0FFFFFFF, Constant{}};

namespace {

const bool globalLoggerBuilt = tqLogger::globalLogger().getName().isEmpty();

}  // namespace
