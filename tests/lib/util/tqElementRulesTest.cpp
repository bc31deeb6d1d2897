#include "lib/util/tqElementRules.h"

#include <gtest/gtest.h>

TEST(tqElementRules, ShortTextHasNoLeadingBlankUnlikeABoxedInteger) {
  EXPECT_EQ(tqElementRules<Short>::text(-1), "-1");
  EXPECT_EQ(tqElementRules<Short>::text(7), "7");
  EXPECT_EQ(tqElementRules<Short>::text(-32768), "-32768");
  EXPECT_EQ(tqElementRules<tqInteger>::text(tqInteger(7)), " 7");
}

TEST(tqElementRules, BoxedIntegersCompareByValueNotIdentity) {
  const tqInteger three(3);
  const tqInteger otherThree(3);
  EXPECT_FALSE(three.equals(otherThree));
  EXPECT_TRUE(tqElementRules<tqInteger>::equal(three, otherThree));
  EXPECT_FALSE(tqElementRules<tqInteger>::equal(three, tqInteger(4)));
}

TEST(tqElementRules, EmptyValuesAndNames) {
  EXPECT_EQ(tqElementRules<String>::emptyValue(), "");
  EXPECT_EQ(tqElementRules<Short>::emptyValue(), 0);
  EXPECT_EQ(tqElementRules<tqInteger>::emptyValue().intValue(), 0);
  EXPECT_EQ(tqElementRules<String>::name, "String");
  EXPECT_EQ(tqElementRules<Short>::name, "Short");
  EXPECT_EQ(tqElementRules<tqInteger>::name, "tqInteger");
  EXPECT_FALSE(tqElementRules<String>::equal("A", "a"));
}
