#include "lib/lang/tqThrowable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/lang/tqException.h"
#include "lib/lang/tqStackTraceElement.h"
#include "lib/util/tqList.h"
#include "tests/support/ConsoleCapture.h"

namespace {

std::vector<tqStackTraceElement> threeElements() {
  return {tqStackTraceElement("Parser", "read", "", 12), tqStackTraceElement("Loader", "load", "Loader.cpp", 0),
          tqStackTraceElement()};
}

}  // namespace

TEST(tqStackTraceElement, ReadsAsClassMethodAndPlace) {
  const struct {
    tqStackTraceElement element;
    const char* text;
  } cases[] = {
      {tqStackTraceElement(), ".(Unknown Source)"},
      {tqStackTraceElement("Parser", "read", "", 12), "Parser.read(Unknown Source:12)"},
      // Line 0 means none.
      {tqStackTraceElement("Parser", "read", "Parser.cpp", 0), "Parser.read(Parser.cpp)"},
      {tqStackTraceElement("A", "b", "c.cpp", -7), "A.b(c.cpp:-7)"},
      {tqStackTraceElement("A", "b", "", -9223372036854775807 - 1), "A.b(Unknown Source:-9223372036854775808)"},
  };
  for (const auto& testCase : cases) {
    EXPECT_EQ(testCase.element.toString(), testCase.text);
    EXPECT_EQ(testCase.element.toText(), testCase.text);
  }
}

TEST(tqStackTraceElement, EqualElementsAreStillDistinctObjects) {
  const tqStackTraceElement one("Parser", "read", "Parser.cpp", 3);
  const tqStackTraceElement two(one);
  EXPECT_TRUE(one.equalsElement(two));
  EXPECT_FALSE(one.equals(two));
  EXPECT_FALSE(one.equalsElement(tqStackTraceElement("Parser", "read", "Parser.cpp", 4)));
  EXPECT_EQ(two.getDeclaringClass(), "Parser");
  EXPECT_EQ(two.getMethodName(), "read");
  EXPECT_EQ(two.getFileName(), "Parser.cpp");
  EXPECT_EQ(two.getLineNumber(), 3);
  EXPECT_EQ(one.className(), "TQSTACKTRACEELEMENT");

  tqList<tqStackTraceElement> list;
  list.add(one);
  EXPECT_TRUE(list.contains(tqStackTraceElement("Parser", "read", "Parser.cpp", 3)));
  EXPECT_EQ(list.toString(), "[Parser.read(Parser.cpp:3)]");
  EXPECT_EQ(list.className(), "TQLIST(TQSTACKTRACEELEMENT)");
}

TEST(tqThrowable, TextFormsOfExceptionsAndEmptyThrowables) {
  const tqException exception("Open error");
  EXPECT_EQ(exception.toString(), "tqException: Open error");
  EXPECT_EQ(exception.toText(), "tqException: Open error");
  EXPECT_EQ(exception.getMessage(), "Open error");
  EXPECT_EQ(exception.getLocalizedMessage(), "Open error");
  EXPECT_EQ(exception.stackTraceText(), "Open error\r\n");
  EXPECT_EQ(exception.className(), "TQEXCEPTION");

  const tqThrowable empty;
  EXPECT_EQ(empty.toString(), "");
  EXPECT_EQ(empty.stackTraceText(), "\r\n");
  EXPECT_EQ(tqException("").toString(), "");
  EXPECT_EQ(empty.className(), "TQTHROWABLE");
}

TEST(tqThrowable, PrintStackTraceEndsWithAnEmptyLine) {
  tqException exception("Open error");
  exception.setStackTrace({tqStackTraceElement("A", "b", "", 1)});
  EXPECT_EQ(consoleOutputOf([&] { exception.printStackTrace(); }),
            asReadBackInTextMode("Open error\r\nA.b(Unknown Source:1)\r\n\r\n"));
  EXPECT_EQ(consoleOutputOf([] { tqThrowable().printStackTrace(); }), asReadBackInTextMode("\r\n\r\n"));
}

TEST(tqThrowable, WrapAndGetCauseBuildPlainThrowablesFromTextForms) {
  const tqException exception("x");
  const tqThrowable wrapped = exception.wrap();
  EXPECT_EQ(wrapped.getMessage(), "tqException: x");
  EXPECT_EQ(wrapped.toString(), "tqThrowable: tqException: x");
  EXPECT_EQ(wrapped.stackTraceText(), "tqException: x\r\n");
  // The wrap's cause is the exception, not the wrap itself.
  EXPECT_EQ(wrapped.getCause().getMessage(), "tqThrowable: tqException: x");

  const tqThrowable cause = exception.getCause();
  EXPECT_EQ(cause.getMessage(), "tqThrowable: tqException: x");
  EXPECT_EQ(cause.className(), "TQTHROWABLE");
  EXPECT_EQ(tqThrowable().getCause().getMessage(), "");
}

TEST(tqThrowable, CopiesReferToWhatTheyWereCopiedFromAsTheirCause) {
  const tqException exception("x");
  const tqThrowable copy = exception;
  EXPECT_EQ(copy.toString(), "tqThrowable: x");
  // Had the copy been its own cause, this would read "tqThrowable: tqThrowable: x".
  EXPECT_EQ(copy.getCause().getMessage(), "tqThrowable: tqException: x");
  tqThrowable assigned;
  assigned = exception;
  EXPECT_EQ(assigned.getCause().getMessage(), "tqThrowable: tqException: x");
}

TEST(tqThrowable, InitCauseRedirectsGetCauseAndAnswersTheWrap) {
  const tqException inner("inner");
  tqThrowable throwable(&inner);
  EXPECT_EQ(throwable.getMessage(), "tqException: inner");
  EXPECT_EQ(throwable.getCause().getMessage(), "tqThrowable: tqException: inner");
  const tqException other("other");
  const tqThrowable answer = throwable.initCause(&other);
  EXPECT_EQ(answer.getMessage(), throwable.toString());
  EXPECT_EQ(throwable.getCause().getMessage(), "tqThrowable: tqException: other");
  throwable.initCause(&throwable);
  EXPECT_EQ(throwable.getCause().getMessage(), "tqThrowable: tqThrowable: tqException: inner");
}

TEST(tqThrowable, StackTraceIsCopiedInAndOut) {
  tqException throwable("failed");
  std::vector<tqStackTraceElement> array(5);
  throwable.getStackTrace(array);
  EXPECT_EQ(array.size(), 5u) << "an empty stack trace leaves the array alone";

  throwable.setStackTrace(threeElements());
  EXPECT_EQ(throwable.stackTraceText(),
            "failed\r\nParser.read(Unknown Source:12)\r\nLoader.load(Loader.cpp)\r\n.(Unknown Source)\r\n");
  throwable.getStackTrace(array);
  ASSERT_EQ(array.size(), 3u);
  EXPECT_EQ(array[1].toString(), "Loader.load(Loader.cpp)");

  tqException copy;
  copy = throwable;
  copy.setStackTrace({tqStackTraceElement("Other", "one", "", 0)});
  EXPECT_EQ(copy.stackTraceText(), "failed\r\nOther.one(Unknown Source)\r\n");
  EXPECT_EQ(throwable.stackTraceText().substr(0, 8), "failed\r\n");
  throwable.getStackTrace(array);
  EXPECT_EQ(array.size(), 3u);

  throwable.setStackTrace({});
  EXPECT_EQ(throwable.stackTraceText(), "failed\r\n");
}
