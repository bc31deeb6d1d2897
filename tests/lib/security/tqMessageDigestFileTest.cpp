#include "lib/security/tqMessageDigest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "tests/lib/security/DigestInputs.h"
#include "tests/support/FileContent.h"
#include "tests/support/ResultWithin.h"
#include "tests/support/SystemFiles.h"
#include "tests/support/Utf8Path.h"
#include "tests/support/WithTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

class tqMessageDigestFile : public WithTemporaryFolder {
 protected:
  std::string write(const fs::path& name, const std::string& bytes) {
    const fs::path path = folder_.path() / name;
    writeFile(path, bytes);
    return utf8(path);
  }
};

}  // namespace

TEST_F(tqMessageDigestFile, DigestsTheFilesBytesAsTheyAre) {
  // Around the read chunk and across many chunks.
  for (const std::size_t size : {1, 63, 16'383, 16'384, 16'385, 65'536, 65'537, 3'000'001}) {
    std::mt19937 random(static_cast<std::uint32_t>(size));
    const std::string bytes = randomBytes(random, size);
    const std::string path = write("bytes.bin", bytes);
    for (const std::string& algorithm : digestAlgorithms) {
      tqMessageDigest digest(algorithm);
      EXPECT_EQ(digest.digestFile(path), digest.digestText(bytes)) << algorithm << ", " << size << " bytes";
    }
  }
}

TEST_F(tqMessageDigestFile, FinishesTheBytesFedBeforeAndStartsAfresh) {
  const std::string path = write("tail.txt", "c\r\n");
  tqMessageDigest digest("MD5");
  digest.update("ab");
  EXPECT_EQ(digest.digestFile(path), tqMessageDigest("MD5").digestText("abc\r\n"));
  EXPECT_EQ(digest.digestFile(path), tqMessageDigest("MD5").digestText("c\r\n"));
}

TEST_F(tqMessageDigestFile, AnswersNothingAndKeepsWhatWasFedWhenThereIsNothingToRead) {
  const std::string empty = write("empty.bin", "");
  const std::string missing = utf8(folder_.path() / "missing.bin");
  for (const std::string& name : {empty, missing, utf8(folder_.path()), std::string()}) {
    for (const std::string& algorithm : digestAlgorithms) {
      tqMessageDigest digest(algorithm);
      digest.update("ab");
      EXPECT_EQ(digest.digestFile(name), "") << algorithm << " of '" << name << "'";
      digest.update("c");
      EXPECT_EQ(digest.digest(), tqMessageDigest(algorithm).digestText("abc")) << algorithm << " of '" << name << "'";
    }
  }
}

TEST_F(tqMessageDigestFile, AnswersNothingAtOnceForWhatIsNotARegularFile) {
  // A pipe without a writer would keep the open waiting, a device the reads.
  const struct {
    const char* name;
    std::function<bool(const fs::path&)> make;
  } kinds[] = {
      {"named pipe", makeNamedPipe},
      {"link to an endless device", makeEndlessDeviceLink},
  };
  for (const auto& kind : kinds) {
    const fs::path path = folder_.path() / "special";
    if (!kind.make(path)) continue;  // none on this system
    const std::optional<std::string> digest =
        resultWithin(std::chrono::seconds(60), [name = utf8(path)] { return tqMessageDigest("MD5").digestFile(name); });
    EXPECT_EQ(digest, std::optional<std::string>("")) << kind.name;
    fs::remove(path);
  }
  EXPECT_EQ(tqMessageDigest("MD5").digestFile(nullDeviceName()), "");
}

TEST_F(tqMessageDigestFile, ReadsNamesInUtf8) {
  const std::string path = write(fs::path(u8"pländek-ß.dat"), "abc");
  EXPECT_EQ(tqMessageDigest("MD5").digestFile(path), "900150983CD24FB0D6963F7D28E17F72");
}

TEST_F(tqMessageDigestFile, UnknownAlgorithmAnswersNothing) {
  const std::string path = write("abc.txt", "abc");
  EXPECT_EQ(tqMessageDigest("md5").digestFile(path), "");
}
