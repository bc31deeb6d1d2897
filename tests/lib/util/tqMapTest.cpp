#include "lib/util/tqMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/lib/util/Samples.h"

namespace {

// Every map operation over each value type; keys are texts.
template <typename Value>
class tqMapOf : public ::testing::Test {
 protected:
  const std::vector<Value> samples = Samples<Value>::values();

  const Value& sample(int pick) const { return samples[static_cast<std::size_t>(pick)]; }
  std::string valueText(int pick) const { return tqElementRules<Value>::text(sample(pick)); }
  // The map {k1=samples[v1], ...}.
  tqMap<String, Value> mapOf(std::initializer_list<std::pair<const char*, int>> pairs) const {
    tqMap<String, Value> map;
    for (const auto& [key, pick] : pairs) map.put(key, sample(pick));
    return map;
  }
  std::string textOf(std::initializer_list<std::pair<const char*, int>> pairs) const {
    return mapOf(pairs).toString();
  }
};

using ValueTypes = ::testing::Types<String, tqInteger>;
TYPED_TEST_SUITE(tqMapOf, ValueTypes);

TYPED_TEST(tqMapOf, PutKeepsAKeysPlaceAndAnswersTheValueItReplaces) {
  tqMap<String, TypeParam> map;
  EXPECT_TRUE(isEmptyValue(map.put("b", this->sample(0))));
  EXPECT_TRUE(isEmptyValue(map.put("a", this->sample(1))));
  EXPECT_TRUE(sameElement(map.put("b", this->sample(2)), this->sample(0)));
  EXPECT_EQ(map.size(), 2);
  EXPECT_EQ(map.toString(), "{b=" + this->valueText(2) + ", a=" + this->valueText(1) + "}");
  EXPECT_EQ(map.keySet().toString(), "[b, a]");
}

TYPED_TEST(tqMapOf, ARemovedKeyPutAgainComesLast) {
  tqMap<String, TypeParam> map = this->mapOf({{"a", 0}, {"b", 1}, {"c", 2}});
  EXPECT_TRUE(sameElement(map.remove("a"), this->sample(0)));
  EXPECT_EQ(map.toString(), this->textOf({{"b", 1}, {"c", 2}}));
  map.put("a", this->sample(3));
  EXPECT_EQ(map.toString(), this->textOf({{"b", 1}, {"c", 2}, {"a", 3}}));

  EXPECT_TRUE(isEmptyValue(map.remove("x")));
  EXPECT_EQ(map.size(), 3);
}

TYPED_TEST(tqMapOf, MissingKeysAnswerTheEmptyValueAndContainsKeyTellsThemApart) {
  tqMap<String, TypeParam> map = this->mapOf({{"k", 0}});
  map.put("blank", tqElementRules<TypeParam>::emptyValue());
  EXPECT_TRUE(isEmptyValue(map.get("missing")));
  EXPECT_FALSE(map.containsKey("missing"));
  EXPECT_TRUE(isEmptyValue(map.get("blank")));
  EXPECT_TRUE(map.containsKey("blank"));
  // Keys compare byte for byte.
  EXPECT_FALSE(map.containsKey("K"));
  EXPECT_TRUE(isEmptyValue(map.get("K")));
  EXPECT_TRUE(sameElement(map.get("k"), this->sample(0)));
  EXPECT_TRUE(map.containsValue(this->sample(0)));
  EXPECT_FALSE(map.containsValue(this->sample(1)));
  EXPECT_EQ(map.size(), 2);
}

TYPED_TEST(tqMapOf, KeysValuesAndEntriesAreIndependentCopiesInMapOrder) {
  tqMap<String, TypeParam> map = this->mapOf({{"z", 0}, {"a", 0}, {"m", 1}});
  tqSet<String> keys = map.keySet();
  tqCollection<TypeParam> values = map.values();
  tqSet<tqMapEntry<String, TypeParam>> entries = map.entrySet();
  const std::string mapText = map.toString();

  EXPECT_EQ(keys.toString(), "[z, a, m]");
  // Values keep their duplicates.
  EXPECT_EQ(values.toString(), "[" + this->valueText(0) + ", " + this->valueText(0) + ", " + this->valueText(1) + "]");
  EXPECT_EQ(entries.size(), 3);
  EXPECT_EQ(entries.toString(), "[" + mapText.substr(1, mapText.size() - 2) + "]");

  map.put("z", this->sample(3));
  map.remove("a");
  map.put("new", this->sample(2));
  EXPECT_EQ(keys.toString(), "[z, a, m]");
  EXPECT_EQ(entries.toString(), "[" + mapText.substr(1, mapText.size() - 2) + "]");

  const std::string changed = map.toString();
  keys.add("other");
  values.add(this->sample(3));
  entries.at(0).setValue(this->sample(2));
  EXPECT_EQ(map.toString(), changed);
}

TYPED_TEST(tqMapOf, PutAllReplacesInPlaceAndAppendsNewKeysInTheOthersOrder) {
  tqMap<String, TypeParam> map = this->mapOf({{"a", 0}, {"b", 1}});
  map.putAll(this->mapOf({{"c", 2}, {"a", 3}, {"d", 0}}));
  EXPECT_EQ(map.toString(), this->textOf({{"a", 3}, {"b", 1}, {"c", 2}, {"d", 0}}));
  map.assign(this->mapOf({{"x", 1}}));
  EXPECT_EQ(map.toString(), this->textOf({{"x", 1}}));
  map.clear();
  EXPECT_TRUE(map.isEmpty());
  EXPECT_EQ(map.toString(), "{}");
}

TYPED_TEST(tqMapOf, CopiesNeverShareEntriesWithTheirSource) {
  tqMap<String, TypeParam> source = this->mapOf({{"a", 0}});
  tqMap<String, TypeParam> copied(source);
  tqMap<String, TypeParam> assigned;
  assigned = source;
  source.at("a") = this->sample(1);
  source.put("b", this->sample(2));
  EXPECT_EQ(copied.toString(), this->textOf({{"a", 0}}));
  EXPECT_EQ(assigned.toString(), this->textOf({{"a", 0}}));
  EXPECT_EQ(source.toString(), this->textOf({{"a", 1}, {"b", 2}}));
  EXPECT_TRUE(copied.equalsMap(assigned));
  EXPECT_FALSE(copied.equalsMap(source));
  EXPECT_FALSE(copied.equals(assigned));
}

}  // namespace

// An iterator of a temporary collection would read freed memory; the library
// turns that mistake into a compile error and keeps the safe form working.
template <typename Map>
concept IteratesAKeySetInAVariable = requires(Map map, tqSet<String> keys) {
  keys = map.keySet();
  keys.iterator();
};
template <typename Map>
concept IteratesATemporaryCollection = requires(Map map) { map.keySet().iterator(); } ||
                                       requires(Map map) { map.values().iterator(); } ||
                                       requires(Map map) { map.entrySet().iterator(); };
static_assert(IteratesAKeySetInAVariable<tqMap<String, String>>);
static_assert(!IteratesATemporaryCollection<tqMap<String, String>>);

TEST(tqMap, TextFormsListEntriesInTheOrderKeysWereFirstPut) {
  tqMap<String, String> macros;
  EXPECT_EQ(macros.toString(), "{}");
  macros.put("@daily", "0 0 * * *");
  macros.put("@hourly", "0 * * * *");
  EXPECT_EQ(macros.toString(), "{@daily=0 0 * * *, @hourly=0 * * * *}");
  EXPECT_EQ(macros.toText(), macros.toString());

  tqMap<String, tqInteger> counts;
  counts.put("x", tqInteger(3));
  counts.put("y", tqInteger(-3));
  EXPECT_EQ(counts.toString(), "{x= 3, y=-3}");
}

TEST(tqMap, AtWritesInPlaceAndPutsAMissingKeyWithTheEmptyValue) {
  tqMap<String, tqInteger> counts;
  counts.put("x", tqInteger(3));
  counts.at("x").assign(tqInteger(4));
  EXPECT_EQ(counts.get("x").intValue(), 4);
  EXPECT_EQ(counts.at("y").intValue(), 0);
  EXPECT_EQ(counts.toString(), "{x= 4, y= 0}");
}

TEST(tqMapEntry, ComparesByContentOnItsOwnAndPrintsKeyEqualsValue) {
  tqMapEntry<String, tqInteger> entry("k", tqInteger(5));
  EXPECT_EQ(entry.toString(), "k= 5");
  EXPECT_EQ(entry.toText(), "k= 5");
  EXPECT_TRUE(entry.equalsEntry(tqMapEntry<String, tqInteger>("k", tqInteger(5))));
  EXPECT_FALSE(entry.equalsEntry(tqMapEntry<String, tqInteger>("K", tqInteger(5))));
  EXPECT_FALSE(entry.equalsEntry(tqMapEntry<String, tqInteger>("k", tqInteger(6))));

  EXPECT_EQ(entry.setValue(tqInteger(-2)).intValue(), 5);
  entry.valueRef().assign(tqInteger(8));
  EXPECT_EQ(entry.getValue().intValue(), 8);
  EXPECT_EQ(entry.getKey(), "k");

  const tqMapEntry<String, String> empty;
  EXPECT_EQ(empty.toString(), "=");
}
