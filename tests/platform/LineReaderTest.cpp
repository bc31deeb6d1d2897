#include "platform/LineReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::vector<std::string> linesOf(const fs::path& path) {
  platform::LineReader reader(utf8(path));
  std::vector<std::string> lines;
  for (std::string line; reader.readLine(line);) lines.push_back(line);
  return lines;
}

class LineReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("LineReaderTest-" + std::to_string(std::random_device()()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<std::string> linesOfFileHolding(const std::string& bytes) {
    const fs::path path = folder_ / "lines.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    return linesOf(path);
  }

  fs::path folder_;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(LineReaderTest, EndsLinesAtLfCrLfOrALoneCr) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      // LF CR is two ends, CR CR LF two as well.
      {"a\n\rb\r\r\nc", {"a", "", "b", "", "c"}},
      {"\n\r\n\r", {"", "", ""}},
      {"tab\t \x01\xff\r\n", {"tab\t \x01\xff"}},
  };
  for (const auto& testCase : cases) EXPECT_EQ(linesOfFileHolding(testCase.bytes), testCase.lines) << testCase.bytes;
}

TEST_F(LineReaderTest, ReadsLinesAcrossItsBufferAndKeepsZeroBytes) {
  // A CR LF split by the buffer's edge is still one line end.
  for (const std::size_t length : {8191u, 8192u, 8193u, 20'000u}) {
    const std::string longLine(length, 'x');
    EXPECT_EQ(linesOfFileHolding(longLine + "\r\n" + std::string("z\0z", 3) + "\r\n"),
              (Lines{longLine, std::string("z\0z", 3)}))
        << length;
  }
}

TEST_F(LineReaderTest, AMissingFileHasNoLines) {
  platform::LineReader reader(utf8(folder_ / "missing.properties"));
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(reader.openError(), platform::File::OpenError::failed);
  std::string line = "left";
  EXPECT_FALSE(reader.readLine(line));
  EXPECT_EQ(line, "");
}
