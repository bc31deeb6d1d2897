#pragma once

#include <string>

namespace plandek {

// A command for both interpreters that runs until the test lets it go: this
// test program again, running only HeldCommand.DISABLED_RunsUntilReleased in
// the working directory, which it shares with the test.
class HeldCommand {
 public:
  // The command line; its output goes to "held.log".
  static std::string commandLine();
  // False when the command did not start within a generous time.
  static bool awaitStart();
  static bool hasEnded();
  // Lets it end; false when it did not end within a generous time.
  static bool release();
};

}  // namespace plandek
