#include "lib/util/tqLineReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "lib/util/tqLineSplitter.h"
#include "tests/support/FileContent.h"
#include "tests/support/Utf8Path.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

std::vector<std::string> linesOf(const std::filesystem::path& path) {
  tqLineReader reader(utf8(path));
  std::vector<std::string> lines;
  for (std::string line; reader.readLine(line);) lines.push_back(line);
  EXPECT_FALSE(reader.hasReadError());
  return lines;
}

class tqLineReaderTest : public WithTemporaryFolder {
 protected:
  std::vector<std::string> linesOfFileHolding(const std::string& bytes) {
    const std::filesystem::path path = folder_.path() / "lines.txt";
    writeFile(path, bytes);
    return linesOf(path);
  }
};

using Lines = std::vector<std::string>;

struct LineCase {
  std::string bytes;
  Lines lines;
};

const LineCase lineCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\n", {"a"}},
    {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
    // LF CR is two ends, CR CR LF two as well.
    {"a\n\rb\r\r\nc", {"a", "", "b", "", "c"}},
    {"\n\r\n\r", {"", "", ""}},
    {"tab\t \x01\xff\r\n", {"tab\t \x01\xff"}},
};

Lines splitWhole(std::string_view bytes) {
  Lines lines;
  forEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

}  // namespace

TEST_F(tqLineReaderTest, EndsLinesAtLfCrLfOrALoneCr) {
  for (const LineCase& testCase : lineCases) {
    EXPECT_EQ(linesOfFileHolding(testCase.bytes), testCase.lines) << testCase.bytes;
    EXPECT_EQ(splitWhole(testCase.bytes), testCase.lines) << testCase.bytes;
  }
}

TEST(tqLineSplitter, GivesTheSameLinesHoweverTheBytesArePieced) {
  // Every kind of line end, and ends that straddle the pieces' edges.
  using namespace std::string_literals;
  const std::string bytes = "a\r\nbb\rc\n\n\r\r\nd\0e\r"s + std::string(40, 'x') + "\r\n\r";
  const Lines whole = splitWhole(bytes);
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    tqLineSplitter splitter;
    Lines lines;
    const auto keep = [&lines](std::string_view line) { lines.emplace_back(line); };
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 4)(random);
      splitter.feed(std::string_view(bytes).substr(at, length), keep);
      at += length;
    }
    splitter.finish(keep);
    ASSERT_EQ(lines, whole) << "round " << round;
  }
}

TEST_F(tqLineReaderTest, ReadsLinesAcrossItsBufferAndKeepsZeroBytes) {
  // A CR LF split by the buffer's edge is still one line end.
  for (const std::size_t length : {8191u, 8192u, 8193u, 20'000u}) {
    const std::string longLine(length, 'x');
    EXPECT_EQ(linesOfFileHolding(longLine + "\r\n" + std::string("z\0z", 3) + "\r\n"),
              (Lines{longLine, std::string("z\0z", 3)}))
        << length;
  }
}

TEST_F(tqLineReaderTest, AFolderIsAReadErrorNotAnEmptyFile) {
  // Some systems refuse to open a folder, others open it and fail the read.
  tqLineReader reader(utf8(folder_.path()));
  std::string line;
  EXPECT_FALSE(reader.readLine(line));
  EXPECT_TRUE(reader.hasReadError());
}

TEST_F(tqLineReaderTest, AMissingFileHasNoLines) {
  tqLineReader reader(utf8(folder_.path() / "missing.properties"));
  EXPECT_FALSE(reader.isOpen());
  EXPECT_EQ(reader.openError(), platform::File::OpenError::failed);
  std::string line = "left";
  EXPECT_FALSE(reader.readLine(line));
  EXPECT_EQ(line, "");
}
