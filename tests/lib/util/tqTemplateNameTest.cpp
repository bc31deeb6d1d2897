#include "lib/util/tqTemplateName.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lib/util/tqList.h"
#include "lib/util/tqMap.h"
#include "lib/util/tqSet.h"

namespace {

struct LevelAlias {};

struct Names {
  std::unique_ptr<tqObject> object;
  std::string className;
  std::string typeName;
  std::string baseTypeName;
};

template <typename Class>
Names names(std::string className, std::string typeName, std::string baseTypeName) {
  return {std::make_unique<Class>(), std::move(className), std::move(typeName), std::move(baseTypeName)};
}

}  // namespace

template <>
struct tqPointeeName<LevelAlias> {
  static constexpr std::string_view name = "tqLevelAlias";
};

TEST(tqTemplateName, EveryInstantiationNamesItselfAfterItsArguments) {
  tqList<String> owner;
  std::vector<Names> table;
  table.push_back(names<tqCollection<String>>("TQCOLLECTION(STRING)", "18TQCOLLECTIONSTRING", "8TQOBJECT"));
  table.push_back(names<tqList<String>>("TQLIST(STRING)", "12TQLISTSTRING", "18TQCOLLECTIONSTRING"));
  table.push_back(names<tqList<Short>>("TQLIST(SHORT)", "11TQLISTSHORT", "17TQCOLLECTIONSHORT"));
  table.push_back(names<tqCollection<tqInteger>>("TQCOLLECTION(TQINTEGER)", "21TQCOLLECTIONTQINTEGER", "8TQOBJECT"));
  table.push_back(names<tqSet<String>>("TQSET(STRING)", "11TQSETSTRING", "18TQCOLLECTIONSTRING"));
  table.push_back(names<tqList<LevelAlias*>>("TQLIST(TQLEVELALIAS, PTR)", "21TQLISTTQLEVELALIASPTR",
                                              "27TQCOLLECTIONTQLEVELALIASPTR"));
  table.push_back(names<tqMap<String, String>>("TQMAP(STRING, STRING)", "17TQMAPSTRINGSTRING", "8TQOBJECT"));
  table.push_back(
      names<tqMap<String, tqInteger>>("TQMAP(STRING, TQINTEGER)", "20TQMAPSTRINGTQINTEGER", "8TQOBJECT"));
  table.push_back(names<tqMapEntry<String, String>>("TQMAPENTRY(STRING, STRING)", "22TQMAPENTRYSTRINGSTRING",
                                                     "8TQOBJECT"));
  table.push_back(names<tqSet<tqMapEntry<String, tqInteger>>>(
      "TQSET(TQMAPENTRYSTRINGTQINTEGER)", "30TQSETTQMAPENTRYSTRINGTQINTEGER", "37TQCOLLECTIONTQMAPENTRYSTRINGTQINTEGER"));
  table.push_back({std::make_unique<tqIterator<String>>(owner.iterator()), "TQITERATOR(STRING)",
                   "16TQITERATORSTRING", "8TQOBJECT"});

  for (const Names& row : table) {
    SCOPED_TRACE(row.className);
    EXPECT_EQ(row.object->className(), row.className);
    const tqTypeDescriptor& record = row.object->typeDescriptor();
    EXPECT_EQ(record.typeName, row.typeName);
    ASSERT_NE(record.base, nullptr);
    EXPECT_EQ(record.base->typeName, row.baseTypeName);
    // The default text is built from the class name.
    EXPECT_EQ(row.object->tqObject::toString().rfind(row.className + "@", 0), 0u);
  }
}

TEST(tqTemplateName, LiteralsKeepTheMixedCaseSpelling) {
  EXPECT_EQ(tqList<LevelAlias*>::Name::literal, "tqList(tqLevelAlias, Ptr)");
  EXPECT_EQ((tqMap<String, tqInteger>::Name::literal), "tqMap(String, tqInteger)");
  EXPECT_EQ((tqSet<tqMapEntry<String, String>>::Name::literal), "tqSet(tqMapEntryStringString)");
}
