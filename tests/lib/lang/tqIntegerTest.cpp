#include "lib/lang/tqInteger.h"

#include <gtest/gtest.h>

TEST(tqInteger, TextKeepsABlankForTheSignOfNonNegativeValues) {
  struct Case {
    std::int64_t value;
    const char* text;
  };
  const Case cases[] = {
      {5, " 5"}, {0, " 0"}, {-7, "-7"}, {-2147483648LL, "-2147483648"}, {2147483647, " 2147483647"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tqInteger(c.value).toString(), c.text);
    EXPECT_EQ(tqInteger(c.value).toText(), c.text);
  }
}

TEST(tqInteger, KeepsTheLow32Bits) {
  EXPECT_EQ(tqInteger(4294967301LL).intValue(), 5);
  EXPECT_EQ(tqInteger(4294967295LL).intValue(), -1);
  EXPECT_EQ(tqInteger(-4294967296LL).intValue(), 0);
  EXPECT_EQ(tqInteger().intValue(), 0);
}

TEST(tqInteger, CopyAssignAndFloat) {
  tqInteger target(1);
  const tqInteger source(-9);
  target.assign(source);
  EXPECT_EQ(target.intValue(), -9);
  EXPECT_EQ(tqInteger(target).intValue(), -9);
  EXPECT_FLOAT_EQ(tqInteger(16777217).floatValue(), 16777216.0f);  // nearest float
  EXPECT_FALSE(target.equals(tqInteger(-9)));
}
