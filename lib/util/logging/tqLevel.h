#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqString.h"
#include "lib/util/tqElementRules.h"
#include "lib/util/tqList.h"

class tqLevel;

// The name under which levels are the elements of the known-levels list,
// whose literal reads "tqList(tqLevelAlias, Ptr)".
using tqLevelAlias = tqLevel;

template <>
struct tqPointeeName<const tqLevelAlias> {
  static constexpr std::string_view name = "tqLevelAlias";
};

// The importance of a log event. Levels are held by value and compared by
// their values, never by address; the name is the text form.
class tqLevel : public tqObject {
 public:
  // Value 0, empty name: ranks with ALL. Not a known level.
  constexpr tqLevel() = default;
  // A naming constructor: the new level enters the known-levels list. The
  // constants below are in the list from the start.
  tqLevel(std::string_view name, std::int64_t value, std::string_view resourceBundleName = {})
      : value_(value), name_(name), resourceBundleName_(resourceBundleName) {
    enterKnownLevel();
  }
  // Copies do not enter the list.
  constexpr tqLevel(const tqLevel&) = default;
  constexpr tqLevel& operator=(const tqLevel&) = default;

  // The name.
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // Equal values; the names may differ.
  virtual bool equalsLevel(const tqLevel& other) const;
  // The name as the level's resource bundle has it; the name itself when the
  // level names no bundle, and the empty text when the bundle lacks it.
  virtual tqString getLocalizedName() const;
  virtual tqString getName() const;
  virtual tqString getResourceBundleName() const;
  virtual std::int64_t intValue() const;

  static const tqLevel ALL;
  static const tqLevel FINEST;
  static const tqLevel FINER;
  static const tqLevel FINE;
  static const tqLevel CONFIG;
  static const tqLevel INFO;
  static const tqLevel WARNING;
  static const tqLevel SEVERE;
  // 0FFFFFFF: never logged, whatever a threshold says.
  static const tqLevel OFF;

  // Every level a naming constructor built, the nine constants first in the
  // order above. Naming constructors are meant for start-up: the list takes
  // no lock, and it keeps the addresses of levels that are gone.
  static const tqList<const tqLevel*>& knownLevels();

 private:
  // The constants' constructor: they are not entered one by one.
  struct Constant {};
  constexpr tqLevel(std::string_view name, std::int64_t value, Constant) : value_(value), name_(name) {}

  void enterKnownLevel() const;

  std::int64_t value_ = 0;
  tqString name_;
  tqString resourceBundleName_;
};
