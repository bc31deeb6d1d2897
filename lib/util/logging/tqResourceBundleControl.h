#pragma once

#include "lib/lang/tqObject.h"

// How bundles are found and loaded; the library has only the one way that
// tqResourceBundle::getBundle takes, so this carries nothing yet.
class tqResourceBundleControl : public tqObject {
 public:
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;
};
