#include "lib/util/logging/tqLevel.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/lib/util/logging/BundleFile.h"
#include "tests/support/ConsoleCapture.h"

TEST(tqLevel, ConstantsHaveTheirNamesAndValues) {
  const struct {
    const tqLevel& level;
    const char* name;
    std::int64_t value;
  } constants[] = {
      {tqLevel::ALL, "ALL", 0},         {tqLevel::FINEST, "FINEST", 300},   {tqLevel::FINER, "FINER", 400},
      {tqLevel::FINE, "FINE", 500},     {tqLevel::CONFIG, "CONFIG", 700},   {tqLevel::INFO, "INFO", 800},
      {tqLevel::WARNING, "WARNING", 900}, {tqLevel::SEVERE, "SEVERE", 1000}, {tqLevel::OFF, "OFF", 268435455},
  };
  for (const auto& constant : constants) {
    EXPECT_EQ(constant.level.intValue(), constant.value);
    EXPECT_EQ(constant.level.toString(), constant.name);
    EXPECT_EQ(constant.level.getName().toString(), constant.name);
    EXPECT_EQ(constant.level.getLocalizedName().toString(), constant.name);
    EXPECT_EQ(constant.level.getResourceBundleName().toString(), "");
  }
  EXPECT_EQ(tqLevel::SEVERE.className(), "TQLEVEL");
}

TEST(tqLevel, KnownLevelsHoldTheConstantsInOrderThenNamedLevels) {
  const tqList<const tqLevel*>& known = tqLevel::knownLevels();
  EXPECT_EQ(known.className(), "TQLIST(TQLEVELALIAS, PTR)");
  ASSERT_GE(known.size(), 9);
  EXPECT_EQ(known.get(0), &tqLevel::ALL);
  EXPECT_EQ(known.get(7), &tqLevel::SEVERE);
  EXPECT_EQ(known.get(8), &tqLevel::OFF);

  const std::int64_t before = known.size();
  const tqLevel named("NOTICE", 850);
  EXPECT_EQ(known.size(), before + 1);
  EXPECT_EQ(known.get(before), &named);
  const tqLevel copy = named;
  const tqLevel unnamed;
  EXPECT_EQ(known.size(), before + 1) << "copies and default levels are not known levels";
}

TEST(tqLevel, LevelsAreEqualByValueAloneAndDefaultRanksWithAll) {
  EXPECT_TRUE(tqLevel("A", 5).equalsLevel(tqLevel("B", 5)));
  EXPECT_FALSE(tqLevel("A", 5).equalsLevel(tqLevel("A", 6)));
  EXPECT_FALSE(tqLevel::SEVERE.equals(tqLevel(tqLevel::SEVERE)));
  const tqLevel unnamed;
  EXPECT_TRUE(unnamed.equalsLevel(tqLevel::ALL));
  EXPECT_EQ(unnamed.toString(), "");
}

TEST(tqLevel, LocalizedNameComesFromTheNamedBundleBesideTheExecutable) {
  const BundleFile bundle("tqLevelTest");
  const tqLevel level("INFO", 800, bundle.baseName());
  EXPECT_EQ(level.getResourceBundleName().toString(), bundle.baseName());

  // Without the file: the console says so and the name is empty.
  std::string name = "unchanged";
  EXPECT_EQ(consoleOutputOf([&] { name = level.getLocalizedName().toString(); }),
            asReadBackInTextMode("Error: Can't load language file " + bundle.fileName() + "\r\n"));
  EXPECT_EQ(name, "");

  bundle.write("INFO=Information\r\n");
  EXPECT_EQ(level.getLocalizedName().toString(), "Information");
  // Read afresh on every call.
  bundle.write("INFO=Auskunft\n");
  EXPECT_EQ(level.getLocalizedName().toString(), "Auskunft");
  EXPECT_EQ(level.getName().toString(), "INFO");
}
