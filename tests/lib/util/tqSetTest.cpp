#include "lib/util/tqSet.h"

#include <gtest/gtest.h>

#include "lib/util/tqList.h"
#include "lib/util/tqMapEntry.h"

namespace {

tqList<String> listOf(std::initializer_list<String> texts) {
  tqList<String> list;
  for (const String& text : texts) list.add(text);
  return list;
}

using Entry = tqMapEntry<String, String>;

}  // namespace

TEST(tqSet, TheFirstOfEqualElementsKeepsItsPlace) {
  tqSet<String> set;
  EXPECT_TRUE(set.add("b"));
  EXPECT_TRUE(set.add("a"));
  EXPECT_FALSE(set.add("b"));
  // Letter case makes a different element.
  EXPECT_TRUE(set.add("A"));
  EXPECT_EQ(set.toString(), "[b, a, A]");
  EXPECT_EQ(set.size(), 3);
}

TEST(tqSet, EveryWayInGoesThroughTheSetsAdd) {
  tqSet<String> set;
  tqCollection<String>& asCollection = set;
  EXPECT_TRUE(asCollection.add("x"));
  EXPECT_FALSE(asCollection.add("x"));
  EXPECT_TRUE(set.addAll(listOf({"a", "x", "a", "b"})));
  EXPECT_EQ(set.toString(), "[x, a, b]");
  // True although nothing was new; false only for an empty other.
  EXPECT_TRUE(set.addAll(listOf({"b", "a"})));
  EXPECT_FALSE(set.addAll(listOf({})));
  EXPECT_EQ(set.toString(), "[x, a, b]");
  EXPECT_TRUE(set.assign(listOf({"c", "c", "d"})));
  EXPECT_EQ(set.toString(), "[c, d]");
}

TEST(tqSet, CopiesNeverShareElementsWithTheirSource) {
  tqSet<String> source;
  source.add("a");
  tqSet<String> copied(source);
  copied.add("b");
  source.at(0) = "z";
  EXPECT_EQ(source.toString(), "[z]");
  EXPECT_EQ(copied.toString(), "[a, b]");
}

TEST(tqSet, MapEntriesCompareByIdentitySoEqualOnesAreAllKept) {
  tqSet<Entry> entries;
  const Entry entry("k", "v");
  EXPECT_TRUE(entries.add(entry));
  EXPECT_TRUE(entries.add(entry));
  EXPECT_TRUE(entries.add(Entry("k", "v")));
  EXPECT_EQ(entries.size(), 3);
  EXPECT_EQ(entries.toString(), "[k=v, k=v, k=v]");

  // Not even a copy taken out of the set is found in it.
  tqIterator<Entry> walk = entries.iterator();
  const Entry copiedOut = walk.next();
  EXPECT_TRUE(copiedOut.equalsEntry(entry));
  EXPECT_FALSE(entries.contains(copiedOut));
  EXPECT_FALSE(entries.remove(copiedOut));
  EXPECT_EQ(entries.size(), 3);
}
