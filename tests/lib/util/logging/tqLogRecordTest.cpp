#include "lib/util/logging/tqLogRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "lib/lang/tqException.h"
#include "lib/util/logging/tqFormatter.h"
#include "platform/Clock.h"
#include "tests/lib/util/logging/BundleFile.h"

namespace {

std::string formatted(const std::string& message, const std::vector<String>& parameters) {
  tqLogRecord record(tqLevel::SEVERE, message);
  record.setParameters(parameters);
  return tqFormatter().formatMessage(record);
}

}  // namespace

TEST(tqLogRecord, FormatMessageReplacesNumberedPlaceholdersOnly) {
  const struct {
    const char* message;
    std::vector<String> parameters;
    const char* expected;
  } cases[] = {
      {"Reloaded crons -> {0}", {"12"}, "Reloaded crons -> 12"},
      {"{0}{0}", {"ab"}, "abab"},
      {"{1} {0}", {"x", "y"}, "y x"},
      {"{0} {1}", {"x"}, "x {1}"},
      {"{ 0 }", {"x"}, "{ 0 }"},
      {"{00} {+0} {-0} {0,number} {} {0", {"x"}, "{00} {+0} {-0} {0,number} {} {0"},
      // A parameter is substituted again when its text holds a later placeholder...
      {"{0}", {"{1}", "z"}, "z"},
      // ...but not an earlier one.
      {"{1}", {"a", "{0}"}, "{0}"},
      // An empty parameter leaves its placeholder.
      {"[{0}] [{1}]", {"", "b"}, "[{0}] [b]"},
      // Without parameters braces are never looked at.
      {"{0} stays", {}, "{0} stays"},
      {"{10} {1}", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten 1"},
      {"{{0}}", {"x"}, "{x}"},
      {"", {"x"}, ""},
  };
  for (const auto& testCase : cases) {
    EXPECT_EQ(formatted(testCase.message, testCase.parameters), testCase.expected) << testCase.message;
  }
}

TEST(tqLogRecord, FormatMessageLooksTheMessageUpInTheRecordsBundle) {
  const BundleFile file("tqLogRecordTest");
  file.write("greeting=Hello {0}\nblank=\n");
  tqLogRecord record(tqLevel::INFO, "greeting");
  record.setParameters({"world"});
  record.setResourceBundle(tqResourceBundle::getBundle(file.baseName()));
  EXPECT_EQ(tqFormatter().formatMessage(record), "Hello world");
  record.setMessage("blank {0}");
  EXPECT_EQ(tqFormatter().formatMessage(record), "blank world");
}

TEST(tqLogRecord, IsStampedWithTheNextSequenceNumberAndTheTime) {
  const double before = tqDateSerial::now().value();
  const double timerBefore = platform::secondsTimer();
  const tqLogRecord first(tqLevel::INFO, "a");
  const tqLogRecord second(tqLevel::INFO, "b");
  EXPECT_GE(first.getSequenceNumber(), 1);
  EXPECT_EQ(second.getSequenceNumber(), first.getSequenceNumber() + 1);
  const double oneSecond = 1.0 / 86400;
  EXPECT_GE(first.getTime(), before);
  EXPECT_LE(first.getTime(), tqDateSerial::now().value() + oneSecond / 2);
  EXPECT_LE(std::abs(first.getSeconds() - timerBefore), 1.0);

  EXPECT_EQ(first.getLevel().intValue(), 800);
  EXPECT_EQ(first.getMessage().toString(), "a");
  EXPECT_EQ(first.getLoggerName().toString(), "");
  EXPECT_EQ(first.getThreadID(), 0u);
  EXPECT_EQ(first.getThrown().toString(), "");
  std::vector<String> untouched{"keep"};
  EXPECT_FALSE(first.getParameters(untouched));
  EXPECT_EQ(untouched, std::vector<String>{"keep"});
}

TEST(tqLogRecord, AnAssignedCopyKeepsEveryField) {
  tqLogRecord original(tqLevel::WARNING, "message");
  original.setParameters({"p0", "p1"});
  original.setLoggerName("plandek");
  original.setSourceClassName("Sched");
  original.setSourceMethodName("run");
  original.setResourceBundleName("bundle");
  original.setThreadID(7);
  original.setThrown(tqException("x"));
  tqLogRecord copy(tqLevel::INFO, "other");
  copy.setParameters({"a", "b", "c"});
  copy = original;
  EXPECT_EQ(copy.getSequenceNumber(), original.getSequenceNumber());
  EXPECT_EQ(copy.getTime(), original.getTime());
  EXPECT_EQ(copy.getSeconds(), original.getSeconds());
  EXPECT_EQ(copy.getLevel().intValue(), 900);
  std::vector<String> parameters;
  ASSERT_TRUE(copy.getParameters(parameters));
  EXPECT_EQ(parameters, (std::vector<String>{"p0", "p1"}));
  EXPECT_EQ(copy.getLoggerName().toString(), "plandek");
  EXPECT_EQ(copy.getSourceClassName().toString(), "Sched");
  EXPECT_EQ(copy.getSourceMethodName().toString(), "run");
  EXPECT_EQ(copy.getResourceBundleName().toString(), "bundle");
  EXPECT_EQ(copy.getThreadID(), 7u);
  // A record holds a plain throwable, and getThrown answers its wrap.
  EXPECT_EQ(copy.getThrown().getMessage(), "tqThrowable: x");
  EXPECT_EQ(copy.getThrown().toString(), "tqThrowable: tqThrowable: x");
}
