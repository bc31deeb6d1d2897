#include "lib/util/logging/tqLevel.h"

#include "lib/util/logging/tqResourceBundle.h"

const tqTypeDescriptor tqLevel::descriptor{"7TQLEVEL", &tqObject::descriptor};

namespace {

tqList<const tqLevel*>& knownLevelList() {
  static tqList<const tqLevel*> levels = [] {
    tqList<const tqLevel*> constants;
    for (const tqLevel* level : {&tqLevel::ALL, &tqLevel::FINEST, &tqLevel::FINER, &tqLevel::FINE, &tqLevel::CONFIG,
                                 &tqLevel::INFO, &tqLevel::WARNING, &tqLevel::SEVERE, &tqLevel::OFF}) {
      constants.add(level);
    }
    return constants;
  }();
  return levels;
}

}  // namespace

std::string tqLevel::toString() const { return name_.toString(); }

const tqTypeDescriptor& tqLevel::typeDescriptor() const { return descriptor; }

bool tqLevel::equalsLevel(const tqLevel& other) const { return intValue() == other.intValue(); }

tqString tqLevel::getLocalizedName() const {
  if (resourceBundleName_.isEmpty()) return name_;
  // Loaded afresh each time: levels with bundles are rare and never hot.
  return tqString(tqResourceBundle::getBundle(resourceBundleName_.view()).getString(name_.view()));
}

tqString tqLevel::getName() const { return name_; }

tqString tqLevel::getResourceBundleName() const { return resourceBundleName_; }

std::int64_t tqLevel::intValue() const { return value_; }

const tqList<const tqLevel*>& tqLevel::knownLevels() { return knownLevelList(); }

void tqLevel::enterKnownLevel() const { knownLevelList().add(this); }
