#include "lib/util/tqList.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "lib/util/tqSet.h"
#include "tests/lib/util/Samples.h"

namespace {

constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t highest = std::numeric_limits<std::int64_t>::max();

// Every list operation over each element type; samples a, b, c, d are picked
// by position 0..3.
template <typename Element>
class tqListOf : public ::testing::Test {
 protected:
  const std::vector<Element> samples = Samples<Element>::values();

  tqList<Element> listOf(std::initializer_list<int> picks) const {
    return containerOf<tqList<Element>>(samples, picks);
  }
  std::string textOf(std::initializer_list<int> picks) const { return listOf(picks).toString(); }
  const Element& sample(int pick) const { return samples[static_cast<std::size_t>(pick)]; }
};

using ElementTypes = ::testing::Types<String, Short, tqInteger>;
TYPED_TEST_SUITE(tqListOf, ElementTypes);

TYPED_TEST(tqListOf, KeepsInsertionOrderAndReadsByIndex) {
  tqList<TypeParam> list;
  EXPECT_TRUE(list.isEmpty());
  for (int pick : {2, 0, 3, 0}) EXPECT_TRUE(list.add(this->sample(pick)));
  ASSERT_EQ(list.size(), 4);
  EXPECT_FALSE(list.isEmpty());
  const int expected[] = {2, 0, 3, 0};
  for (std::int64_t index = 0; index < 4; ++index) {
    EXPECT_TRUE(sameElement(list.get(index), this->sample(expected[index]))) << index;
    EXPECT_TRUE(sameElement(list.at(index), this->sample(expected[index]))) << index;
  }
  list.clear();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.toString(), "[]");
}

TYPED_TEST(tqListOf, OutOfRangeIndexesAnswerTheEmptyValueAndChangeNothing) {
  for (std::int64_t index : {std::int64_t{-1}, std::int64_t{2}, std::int64_t{3}, lowest, highest}) {
    SCOPED_TRACE(index);
    tqList<TypeParam> list = this->listOf({0, 1});
    const std::string before = list.toString();
    EXPECT_TRUE(isEmptyValue(list.get(index)));
    EXPECT_TRUE(isEmptyValue(list.set(index, this->sample(2))));
    EXPECT_TRUE(isEmptyValue(list.removeAt(index)));
    if (index != 2) {  // index 2 is the size, where both append
      EXPECT_FALSE(list.addAt(index, this->sample(2)));
      EXPECT_FALSE(list.addAllAt(index, this->listOf({2})));
    }
    EXPECT_EQ(list.toString(), before);
  }
  tqList<TypeParam> empty;
  EXPECT_TRUE(isEmptyValue(empty.get(0)));
  EXPECT_TRUE(isEmptyValue(empty.set(0, this->sample(0))));
  EXPECT_TRUE(isEmptyValue(empty.removeAt(0)));
  EXPECT_TRUE(empty.isEmpty());
}

TYPED_TEST(tqListOf, AddAtInsertsBeforeTheElementAtTheIndexOrAppendsAtSize) {
  const struct {
    std::int64_t index;
    std::initializer_list<int> expected;
  } cases[] = {{0, {2, 0, 1}}, {1, {0, 2, 1}}, {2, {0, 1, 2}}};
  for (const auto& c : cases) {
    tqList<TypeParam> list = this->listOf({0, 1});
    EXPECT_TRUE(list.addAt(c.index, this->sample(2))) << c.index;
    EXPECT_EQ(list.toString(), this->textOf(c.expected)) << c.index;
  }
  tqList<TypeParam> empty;
  EXPECT_TRUE(empty.addAt(0, this->sample(3)));
  EXPECT_EQ(empty.toString(), this->textOf({3}));
}

TYPED_TEST(tqListOf, AddAllAtInsertsTheOthersConsecutivelyFromTheIndex) {
  const struct {
    std::int64_t index;
    std::initializer_list<int> expected;
  } cases[] = {{0, {2, 3, 0, 1}}, {1, {0, 2, 3, 1}}, {2, {0, 1, 2, 3}}};
  for (const auto& c : cases) {
    tqList<TypeParam> list = this->listOf({0, 1});
    EXPECT_TRUE(list.addAllAt(c.index, this->listOf({2, 3}))) << c.index;
    EXPECT_EQ(list.toString(), this->textOf(c.expected)) << c.index;
  }
  tqList<TypeParam> list = this->listOf({0, 1});
  EXPECT_FALSE(list.addAllAt(1, tqList<TypeParam>()));
  EXPECT_EQ(list.toString(), this->textOf({0, 1}));
}

TYPED_TEST(tqListOf, SubListIncludesBothEnds) {
  const struct {
    std::int64_t from, to;
    std::initializer_list<int> expected;
  } cases[] = {
      {1, 2, {1, 2}},
      {0, 3, {0, 1, 2, 3}},
      {2, 2, {2}},
      {2, 1, {}},
      // Bounds outside the list are clipped to it.
      {-5, 1, {0, 1}},
      {2, 99, {2, 3}},
      {4, 9, {}},
      {lowest, highest, {0, 1, 2, 3}},
  };
  const tqList<TypeParam> list = this->listOf({0, 1, 2, 3});
  for (const auto& c : cases) {
    EXPECT_EQ(list.subList(c.from, c.to).toString(), this->textOf(c.expected)) << c.from << ".." << c.to;
  }
}

TYPED_TEST(tqListOf, SetAndRemoveAtAnswerTheElementTheyReplaceOrRemove) {
  tqList<TypeParam> list = this->listOf({0, 1, 2});
  EXPECT_TRUE(sameElement(list.set(1, this->sample(3)), this->sample(1)));
  EXPECT_EQ(list.toString(), this->textOf({0, 3, 2}));
  EXPECT_TRUE(sameElement(list.removeAt(0), this->sample(0)));
  EXPECT_EQ(list.toString(), this->textOf({3, 2}));
  EXPECT_TRUE(sameElement(list.removeAt(1), this->sample(2)));
  EXPECT_EQ(list.toString(), this->textOf({3}));
}

TYPED_TEST(tqListOf, IndexOfFindsTheFirstAndLastIndexOfTheLastEqualElement) {
  const tqList<TypeParam> list = this->listOf({0, 1, 0});
  EXPECT_EQ(list.indexOf(this->sample(0)), 0);
  EXPECT_EQ(list.lastIndexOf(this->sample(0)), 2);
  EXPECT_EQ(list.indexOf(this->sample(1)), 1);
  EXPECT_EQ(list.lastIndexOf(this->sample(1)), 1);
  EXPECT_EQ(list.indexOf(this->sample(2)), -1);
  EXPECT_EQ(list.lastIndexOf(this->sample(2)), -1);
  EXPECT_TRUE(list.contains(this->sample(1)));
  EXPECT_FALSE(list.contains(this->sample(3)));
}

TYPED_TEST(tqListOf, RemoveTakesOnlyTheFirstEqualElement) {
  tqList<TypeParam> list = this->listOf({0, 1, 0});
  EXPECT_TRUE(list.remove(this->sample(0)));
  EXPECT_EQ(list.toString(), this->textOf({1, 0}));
  EXPECT_FALSE(list.remove(this->sample(2)));
  EXPECT_EQ(list.toString(), this->textOf({1, 0}));
}

TYPED_TEST(tqListOf, BulkOperationsOnAnEmptySideReportFalseAndChangeNothing) {
  tqList<TypeParam> list = this->listOf({0, 1});
  const tqList<TypeParam> empty;
  EXPECT_FALSE(list.addAll(empty));
  EXPECT_FALSE(list.removeAll(empty));
  EXPECT_FALSE(list.retainAll(empty));
  EXPECT_TRUE(list.containsAll(empty));
  EXPECT_EQ(list.toString(), this->textOf({0, 1}));

  tqList<TypeParam> nothing;
  EXPECT_FALSE(nothing.removeAll(list));
  EXPECT_FALSE(nothing.retainAll(list));
  EXPECT_FALSE(nothing.containsAll(list));
  EXPECT_TRUE(nothing.isEmpty());
}

TYPED_TEST(tqListOf, RemoveAllTakesOneEqualElementPerElementOfTheOther) {
  tqList<TypeParam> list = this->listOf({0, 1, 0, 2, 0});
  EXPECT_TRUE(list.removeAll(this->listOf({0, 0, 3})));
  EXPECT_EQ(list.toString(), this->textOf({1, 2, 0}));
  // Nothing matched is still an answer of true.
  EXPECT_TRUE(list.removeAll(this->listOf({3})));
  EXPECT_EQ(list.toString(), this->textOf({1, 2, 0}));
}

TYPED_TEST(tqListOf, RetainAllKeepsWhatTheOtherContainsInThisOrder) {
  tqList<TypeParam> list = this->listOf({0, 1, 2, 1, 3});
  EXPECT_TRUE(list.retainAll(this->listOf({3, 1})));
  EXPECT_EQ(list.toString(), this->textOf({1, 1, 3}));
  EXPECT_TRUE(list.containsAll(this->listOf({3, 1, 3})));
  EXPECT_FALSE(list.containsAll(this->listOf({3, 0})));
}

TYPED_TEST(tqListOf, AddAllAndAssignAppendCopiesInTheOthersOrder) {
  tqList<TypeParam> list = this->listOf({0});
  EXPECT_TRUE(list.addAll(this->listOf({2, 1})));
  EXPECT_EQ(list.toString(), this->textOf({0, 2, 1}));
  EXPECT_TRUE(list.addAll(list));
  EXPECT_EQ(list.toString(), this->textOf({0, 2, 1, 0, 2, 1}));
  EXPECT_TRUE(list.assign(this->listOf({3, 3})));
  EXPECT_EQ(list.toString(), this->textOf({3, 3}));
  EXPECT_FALSE(list.assign(tqList<TypeParam>()));
  EXPECT_TRUE(list.isEmpty());
}

TYPED_TEST(tqListOf, CopiesNeverShareElementsWithTheirSource) {
  tqList<TypeParam> source = this->listOf({0, 1});
  tqList<TypeParam> copied(source);
  tqList<TypeParam> assigned;
  assigned = source;
  tqList<TypeParam> part = source.subList(0, 1);
  std::vector<TypeParam> array;
  ASSERT_TRUE(source.toArray(array));

  source.at(0) = this->sample(3);
  source.set(1, this->sample(2));
  source.add(this->sample(2));
  for (const tqList<TypeParam>* copy : {&copied, &assigned, &part}) {
    EXPECT_EQ(copy->toString(), this->textOf({0, 1}));
  }
  ASSERT_EQ(array.size(), 2u);
  EXPECT_TRUE(sameElement(array[0], this->sample(0)));

  copied.at(1) = this->sample(3);
  EXPECT_EQ(source.toString(), this->textOf({3, 2, 2}));
}

TYPED_TEST(tqListOf, ToArrayLeavesTheArrayUntouchedWhenEmpty) {
  std::vector<TypeParam> array{this->sample(3)};
  EXPECT_FALSE(tqList<TypeParam>().toArray(array));
  ASSERT_EQ(array.size(), 1u);
  EXPECT_TRUE(sameElement(array[0], this->sample(3)));

  std::vector<TypeParam> longer(5, this->sample(3));
  EXPECT_TRUE(this->listOf({1, 0}).toArray(longer));
  ASSERT_EQ(longer.size(), 2u);
  EXPECT_TRUE(sameElement(longer[0], this->sample(1)));
  EXPECT_TRUE(sameElement(longer[1], this->sample(0)));
}

TYPED_TEST(tqListOf, IteratorVisitsEveryElementOnceAndRemovesTheLastReturned) {
  tqList<TypeParam> list = this->listOf({0, 1, 2, 3});
  tqIterator<TypeParam> walk = list.iterator();
  walk.remove();  // nothing returned yet: nothing to remove
  std::vector<TypeParam> seen;
  while (walk.hasNext()) {
    seen.push_back(walk.next());
    // Drop b and d, the last one included.
    if (sameElement(seen.back(), this->sample(1)) || sameElement(seen.back(), this->sample(3))) walk.remove();
  }
  ASSERT_EQ(seen.size(), 4u);
  for (int pick = 0; pick < 4; ++pick) EXPECT_TRUE(sameElement(seen[static_cast<std::size_t>(pick)], this->sample(pick)));
  EXPECT_EQ(list.toString(), this->textOf({0, 2}));
}

}  // namespace

TEST(tqList, TextFormsJoinElementTextsWithCommaAndBlank) {
  tqList<String> texts;
  EXPECT_EQ(texts.toString(), "[]");
  texts.add("a");
  texts.add("b");
  EXPECT_EQ(texts.toString(), "[a, b]");
  EXPECT_EQ(texts.toText(), "[a, b]");

  tqList<Short> shorts;
  shorts.add(-1);
  shorts.add(7);
  EXPECT_EQ(shorts.toString(), "[-1, 7]");

  tqCollection<tqInteger> integers;
  integers.add(tqInteger(5));
  integers.add(tqInteger(-5));
  EXPECT_EQ(integers.toString(), "[ 5, -5]");
}

TEST(tqList, EqualsCollectionComparesTextsWhateverTheClasses) {
  tqList<String> pair;
  pair.add("a");
  pair.add("b");
  tqList<String> single;
  single.add("a, b");
  tqSet<String> set;
  set.add("a");
  set.add("b");
  EXPECT_TRUE(pair.equalsCollection(single));
  EXPECT_TRUE(pair.equalsCollection(set));
  EXPECT_TRUE(set.equalsCollection(pair));
  set.add("c");
  EXPECT_FALSE(pair.equalsCollection(set));
  EXPECT_FALSE(pair.equals(single));
}

TEST(tqList, AtWritesTheStoredElementInPlace) {
  tqList<tqInteger> list;
  list.add(tqInteger(1));
  list.at(0).assign(tqInteger(9));
  EXPECT_EQ(list.get(0).intValue(), 9);
  tqInteger copy = list.get(0);
  copy.assign(tqInteger(4));
  EXPECT_EQ(list.get(0).intValue(), 9);
}

TEST(tqList, RangeForWalksListsAndSetsInInsertionOrder) {
  tqList<String> list;
  for (const char* text : {"b", "a", "b"}) list.add(String(text));
  std::vector<String> walked(list.begin(), list.end());
  EXPECT_EQ(walked, (std::vector<String>{"b", "a", "b"}));
  tqSet<String> set;
  for (const String& text : list) set.add(text);
  walked.clear();
  for (const String& text : set) walked.push_back(text);
  EXPECT_EQ(walked, (std::vector<String>{"b", "a"}));
  const tqList<String> empty;
  EXPECT_EQ(empty.begin(), empty.end());
}

namespace {
struct Target {};
}  // namespace

template <>
struct tqPointeeName<Target> {
  static constexpr std::string_view name = "tqHandler";
};

TEST(tqList, PointerElementsCompareByAddressAndAreNeverFreed) {
  // Stack objects: freeing one would be caught by the sanitizers.
  Target first;
  Target second;
  {
    tqList<Target*> list;
    list.add(&first);
    list.add(&second);
    list.add(&first);
    EXPECT_EQ(list.lastIndexOf(&first), 2);
    EXPECT_EQ(list.indexOf(&second), 1);
    EXPECT_EQ(list.get(7), nullptr);
    EXPECT_EQ(list.removeAt(1), &second);
    const std::string address = std::to_string(reinterpret_cast<std::uintptr_t>(&first));
    EXPECT_EQ(list.toString(), std::string("[").append(address).append(", ").append(address).append("]"));
    EXPECT_EQ(list.className(), "TQLIST(TQHANDLER, PTR)");
  }
}
