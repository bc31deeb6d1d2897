#include <string>

#include "daemon/Plandek.h"
#include "daemon/PlandekLog.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/StopSignal.h"

// Arguments change nothing. Exit code 1 when another plandek serves the same
// working directory, or when the scheduler could not start.
int main() {
  // Taken first and so given up last: a plandek started as this one stops
  // must not write into the log before this one's closing line. Where the
  // system cannot lock, plandek runs as before, unguarded.
  const std::string workingDirectory = platform::workingDirectory();
  const platform::InstanceLock instance(workingDirectory);
  // Declared before the daemon so that it is closed after every job's record.
  const plandek::PlandekLog log;
  if (instance.outcome() == platform::InstanceLock::Outcome::heldElsewhere) {
    // A second plandek would run every job twice, @reboot included.
    log.sink()("Already running in {0}", {workingDirectory});
    return 1;
  }
  plandek::Plandek plandek(log.sink());
  const platform::StopSignal stopSignal([&plandek] { plandek.requestStop(); },
                                        [&plandek] { plandek.requestScheduleCheck(); });
  return plandek.run() ? 0 : 1;
}
