#include "daemon/Plandek.h"
#include "platform/StopSignal.h"

// Arguments change nothing.
int main() {
  Plandek plandek;
  const platform::StopSignal stopSignal([&plandek] { plandek.requestStop(); });
  plandek.run();
  return 0;
}
