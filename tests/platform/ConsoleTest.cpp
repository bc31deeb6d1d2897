#include "platform/Console.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace std::string_literals;

namespace {

// GoogleTest reads captured output back in text mode, which on Windows turns
// CR LF into LF. Passing the exact bytes through the same kind of read gives
// what an untranslated write must come back as, on every platform.
std::string asReadBackInTextMode(const std::string& bytes) {
  const auto path = std::filesystem::temp_directory_path() / "plandek-console-test.txt";
  std::ofstream(path, std::ios::binary) << bytes;
  std::ifstream in(path);
  std::string readBack((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::filesystem::remove(path);
  return readBack;
}

}  // namespace

TEST(Console, WritesBytesUnchanged) {
  // Line ends are the caller's: CR LF must pass through untranslated.
  const std::string text = "tqErrorManager: 4: Open error\r\nzero\0byte\r\n"s;
  testing::internal::CaptureStdout();
  platform::writeConsole(text);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), asReadBackInTextMode(text));
}
