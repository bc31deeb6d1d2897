#include "platform/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class FileTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("FileTest-" + std::to_string(std::random_device()()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

}  // namespace

TEST_F(FileTest, ReadsEveryByteUntranslatedThenAnswersZero) {
  const std::string bytes = std::string("line\r\n\0\x1a\xff", 9) + std::string(70'000, 'x');
  const fs::path path = folder_ / u8"dätä.bin";
  std::ofstream(path, std::ios::binary) << bytes;

  platform::File file = platform::File::openForReading(utf8(path));
  ASSERT_TRUE(file.isOpen());
  std::string read;
  char chunk[4096];
  for (std::int64_t count; (count = file.read(chunk, sizeof chunk)) > 0;) read.append(chunk, count);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(file.read(chunk, sizeof chunk), 0);
}

TEST_F(FileTest, IsClosedWhenItCannotBeOpened) {
  for (const std::string& name : {utf8(folder_ / "missing"), std::string(), std::string("a\0b", 3)}) {
    platform::File file = platform::File::openForReading(name);
    EXPECT_FALSE(file.isOpen()) << name;
    char byte = 0;
    EXPECT_EQ(file.read(&byte, 1), -1) << name;
  }
}

TEST_F(FileTest, AFolderCannotBeRead) {
  // Some systems open it and fail the read, others refuse to open it.
  platform::File folder = platform::File::openForReading(utf8(folder_));
  char byte = 0;
  EXPECT_EQ(folder.read(&byte, 1), -1);
}

TEST_F(FileTest, MovingHandsTheFileOver) {
  const fs::path path = folder_ / "one.txt";
  std::ofstream(path, std::ios::binary) << "1";
  platform::File first = platform::File::openForReading(utf8(path));
  platform::File second = std::move(first);
  EXPECT_FALSE(first.isOpen());
  char byte = 0;
  EXPECT_EQ(second.read(&byte, 1), 1);
  EXPECT_EQ(byte, '1');
  second.close();
  EXPECT_FALSE(second.isOpen());
  EXPECT_EQ(second.read(&byte, 1), -1);
}
