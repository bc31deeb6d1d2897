#include "lib/lang/tqObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "lib/lang/tqInteger.h"
#include "lib/lang/tqString.h"

namespace {

// Overrides hashCode only: the default toString must not pick it up.
class HashOverride : public tqObject {
 public:
  std::int64_t hashCode() const override { return 42; }
};

std::vector<std::unique_ptr<tqObject>> oneOfEachClass() {
  std::vector<std::unique_ptr<tqObject>> objects;
  objects.push_back(std::make_unique<tqObject>());
  objects.push_back(std::make_unique<tqString>("abc"));
  objects.push_back(std::make_unique<tqInteger>(3));
  return objects;
}

std::unique_ptr<tqObject> copyOf(const tqObject& object) {
  if (auto* text = dynamic_cast<const tqString*>(&object)) return std::make_unique<tqString>(*text);
  if (auto* number = dynamic_cast<const tqInteger*>(&object)) return std::make_unique<tqInteger>(*number);
  return std::make_unique<tqObject>(object);
}

}  // namespace

TEST(tqObject, EqualsIsIdentityForEveryClass) {
  for (const auto& object : oneOfEachClass()) {
    const auto twin = copyOf(*object);
    EXPECT_TRUE(object->equals(*object)) << object->className();
    EXPECT_FALSE(object->equals(*twin)) << object->className();
  }
}

TEST(tqObject, ClassNameDropsTheLengthDigits) {
  EXPECT_EQ(tqObject().className(), "TQOBJECT");
  EXPECT_EQ(tqString("x").className(), "TQSTRING");
  EXPECT_EQ(tqInteger(1).className(), "TQINTEGER");
}

TEST(tqObject, TypeRecordsChainToTheRoot) {
  const tqString text;
  const tqTypeDescriptor& record = text.typeDescriptor();
  EXPECT_EQ(record.typeName, "8TQSTRING");
  ASSERT_EQ(record.base, &tqObject::descriptor);
  ASSERT_EQ(record.base->base, &tqObject::rootDescriptor);
  EXPECT_EQ(record.base->base->typeName, "6OBJECT");
  EXPECT_EQ(record.base->base->base, nullptr);
}

TEST(tqObject, DefaultTextIsClassNameAtIdentity) {
  const tqObject first;
  const tqObject second;
  EXPECT_EQ(first.toString().rfind("TQOBJECT@", 0), 0u);
  EXPECT_NE(first.toString(), second.toString());
  EXPECT_EQ(first.toString(), "TQOBJECT@" + std::to_string(static_cast<std::uint64_t>(first.hashCode())));

  const HashOverride overridden;
  EXPECT_EQ(overridden.toString().rfind("TQOBJECT@", 0), 0u);
  EXPECT_NE(overridden.toString(), "TQOBJECT@42");
}

TEST(tqObject, AsObjectKeepsNothingOfTheDerivedClass) {
  const tqString text("abc");
  const tqObject plain = text.asObject();
  EXPECT_EQ(plain.className(), "TQOBJECT");
  EXPECT_FALSE(plain.equals(text));
  EXPECT_EQ(plain.toString().rfind("TQOBJECT@", 0), 0u);
}
