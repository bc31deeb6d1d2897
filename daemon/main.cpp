#include "daemon/PlandekLog.h"
#include "daemon/Plandek.h"
#include "platform/StopSignal.h"

// Arguments change nothing. Exit code 1 when the scheduler could not start.
int main() {
  // Declared first so that it is closed last, after every job's record.
  const PlandekLog log;
  Plandek plandek(log.sink());
  const platform::StopSignal stopSignal([&plandek] { plandek.requestStop(); });
  return plandek.run() ? 0 : 1;
}
