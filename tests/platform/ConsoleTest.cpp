#include "platform/Console.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/ConsoleCapture.h"

using namespace std::string_literals;

TEST(Console, WritesBytesUnchanged) {
  // Line ends are the caller's: CR LF must pass through untranslated.
  const std::string text = "tqErrorManager: 4: Open error\r\nzero\0byte\r\n"s;
  EXPECT_EQ(consoleOutputOf([&] { platform::writeConsole(text); }), asReadBackInTextMode(text));
}
