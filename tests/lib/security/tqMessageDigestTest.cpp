#include "lib/security/tqMessageDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lib/security/DigestInputs.h"

using namespace std::string_literals;

namespace {

const std::string md5OfNothing = "D41D8CD98F00B204E9800998ECF8427E";
const std::string oneMillionA(1'000'000, 'a');
const std::string twoBlocks448 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
const std::string twoBlocks896 =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu";

struct KnownAnswer {
  std::string algorithm;
  std::string message;
  std::string digest;
};

std::ostream& operator<<(std::ostream& out, const KnownAnswer& answer) {
  return out << answer.algorithm << " of " << answer.message.size() << " bytes '" << answer.message.substr(0, 24)
             << "'";
}

const KnownAnswer knownAnswers[] = {
    // RFC 1321's test suite.
    {"MD5", "", md5OfNothing},
    {"MD5", "a", "0CC175B9C0F1B6A831C399E269772661"},
    {"MD5", "abc", "900150983CD24FB0D6963F7D28E17F72"},
    {"MD5", "message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {"MD5", "abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {"MD5", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
    {"MD5", "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
    // The FIPS 180 messages, for every algorithm.
    {"MD5", twoBlocks448, "8215EF0796A20BCAAAE116D3876C664A"},
    {"MD5", oneMillionA, "7707D6AE4E027C70EEA2A935C2296F21"},
    {"SHA-1", "", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
    {"SHA-1", "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
    {"SHA-1", twoBlocks448, "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
    {"SHA-1", oneMillionA, "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
    {"SHA-512", "",
     "CF83E1357EEFB8BDF1542850D66D8007D620E4050B5715DC83F4A921D36CE9CE"
     "47D0D13C5D85F2B0FF8318D2877EEC2F63B931BD47417A81A538327AF927DA3E"},
    {"SHA-512", "abc",
     "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A"
     "2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E2A9AC94FA54CA49F"},
    {"SHA-512", twoBlocks896,
     "8E959B75DAE313DA8CF4F72814FC143F8F7779C6EB9F7FA17299AEADB6889018"
     "501D289E4900F7E4331B99DEC4B5433AC7D329EEB6DD26545E96E55B874BE909"},
    {"SHA-512", oneMillionA,
     "E718483D0CE769644E2E42C7BC15B4638E1F98B13B2044285632A803AFA973EB"
     "DE0FF244877EA60A4CB0432CE577C31BEB009C5C2C49AA2E4EADB217AD8CC09B"},
};

}  // namespace

TEST(tqMessageDigest, AnswersTheStandardDigestsInUpperCase) {
  for (const KnownAnswer& answer : knownAnswers) {
    tqMessageDigest digest(answer.algorithm);
    EXPECT_EQ(digest.digest(answer.message), answer.digest) << answer;
    // Pieces of uneven sizes, as they come from a stream.
    for (std::size_t start = 0, size = 1; start < answer.message.size(); start += size, size = size * 3 + 1) {
      digest.update(std::string_view(answer.message).substr(start, size));
    }
    EXPECT_EQ(digest.digest(), answer.digest) << answer << " in pieces";
  }
}

TEST(tqMessageDigest, PadsEveryLengthAroundTheBlockBoundaries) {
  // The digest of the digests of the first 0, 1, ..., 299 bytes of a pattern
  // holding every byte value: the lengths 55/56/63/64 and 111/112/127/128,
  // where the padding spills into one more block, are among them.
  std::string pattern;
  for (int i = 0; i < 300; ++i) pattern.push_back(static_cast<char>((i * 31 + 7) & 0xff));
  const std::pair<std::string, std::string> expected[] = {
      {"MD5", "732A4E0E27B34A23CE29A852F1D658F1"},
      {"SHA-1", "83F03181C4DDD6D3FE29742787F02E1F8AE8D445"},
      {"SHA-512",
       "82D26709E04B56B4C205E6EA6A13121B5D8D5A10ED78C37C36C14FC06789B9F4"
       "3468BE9A025F336B5962282DCA993D53E40203139867746024F3D989B6CD51C4"},
  };
  for (const auto& [algorithm, digestOfDigests] : expected) {
    tqMessageDigest digest(algorithm);
    std::string digests;
    for (std::size_t length = 0; length < pattern.size(); ++length) {
      digests += digest.digest(std::string_view(pattern).substr(0, length));
    }
    EXPECT_EQ(digest.digestText(digests), digestOfDigests) << algorithm;
  }
}

TEST(tqMessageDigest, KnowsOnlyTheThreeExactNames) {
  for (const std::string& name : {"md5"s, "Md5"s, "SHA1"s, "sha-1"s, "SHA-256"s, "SHA-512 "s, ""s, "MD5\0"s}) {
    tqMessageDigest digest(name);
    digest.update("abc");
    EXPECT_EQ(digest.digest(), "") << name;
    EXPECT_EQ(digest.digest("abc"), "") << name;
    EXPECT_EQ(digest.digestText("abc"), "") << name;
    EXPECT_EQ(digest.getAlgorithm(), name);
  }
  for (const std::string& name : digestAlgorithms) EXPECT_EQ(tqMessageDigest(name).getAlgorithm(), name);
}

TEST(tqMessageDigest, DigestTextOfNothingAnswersNothingAndKeepsWhatWasFed) {
  tqMessageDigest digest("MD5");
  digest.update("ab");
  EXPECT_EQ(digest.digestText(""), "");
  digest.update("c");
  EXPECT_EQ(digest.digest(), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(tqMessageDigest, DigestOfNothingFinishesWhatWasFed) {
  tqMessageDigest digest("MD5");
  EXPECT_EQ(digest.digest(""), md5OfNothing);
  digest.update("abc");
  EXPECT_EQ(digest.digest(""), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(tqMessageDigest, StartsAfreshAfterEveryFinish) {
  for (const std::string& algorithm : digestAlgorithms) {
    tqMessageDigest digest(algorithm);
    const std::string ofNothing = digest.digest();
    EXPECT_NE(digest.digestText("abc"), ofNothing);
    EXPECT_EQ(digest.digest(), ofNothing) << algorithm;
    digest.update("abc");
    digest.reset();
    EXPECT_EQ(digest.digest(), ofNothing) << algorithm;
  }
}

TEST(tqMessageDigest, FeedsZeroBytesLikeAnyOther) {
  tqMessageDigest digest("MD5");
  EXPECT_NE(digest.digestText("a\0b"s), digest.digestText("a"));
  EXPECT_NE(digest.digestText("a\0b"s), digest.digestText("a\0c"s));
}

TEST(tqMessageDigest, CopiesCarryADigestInProgressOnByThemselves) {
  for (const std::string& algorithm : digestAlgorithms) {
    tqMessageDigest original(algorithm);
    // Beyond one block, with bytes waiting in the buffer.
    const std::string head(200, 'h');
    original.update(head);
    tqMessageDigest copy(original);
    tqMessageDigest assigned("SHA-1");
    assigned.update("dropped");
    assigned = original;
    original.update("x");
    copy.update("y");
    assigned.update("z");
    EXPECT_EQ(copy.getAlgorithm(), algorithm);
    EXPECT_EQ(assigned.getAlgorithm(), algorithm);
    const std::string expectedX = tqMessageDigest(algorithm).digestText(head + "x");
    EXPECT_EQ(original.digest(), expectedX) << algorithm;
    EXPECT_EQ(copy.digest(), tqMessageDigest(algorithm).digestText(head + "y")) << algorithm;
    EXPECT_EQ(assigned.digest(), tqMessageDigest(algorithm).digestText(head + "z")) << algorithm;
  }
}

TEST(tqMessageDigest, GetInstanceMakesAnObjectForAnyName) {
  const std::unique_ptr<tqMessageDigest> md5 = tqMessageDigest::getInstance("MD5");
  ASSERT_NE(md5, nullptr);
  EXPECT_EQ(md5->digest(), md5OfNothing);
  const std::unique_ptr<tqMessageDigest> unknown = tqMessageDigest::getInstance("CRC32");
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(unknown->getAlgorithm(), "CRC32");
  EXPECT_EQ(unknown->digest(), "");
}

TEST(tqMessageDigest, IsALibraryObject) {
  const tqMessageDigest digest("MD5");
  EXPECT_EQ(digest.className(), "TQMESSAGEDIGEST");
  EXPECT_EQ(digest.typeDescriptor().typeName, "15TQMESSAGEDIGEST");
  EXPECT_EQ(digest.typeDescriptor().base, &tqObject::descriptor);
}
