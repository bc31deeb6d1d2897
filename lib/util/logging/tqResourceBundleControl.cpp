#include "lib/util/logging/tqResourceBundleControl.h"

const tqTypeDescriptor tqResourceBundleControl::descriptor{"23TQRESOURCEBUNDLECONTROL", &tqObject::descriptor};

const tqTypeDescriptor& tqResourceBundleControl::typeDescriptor() const { return descriptor; }
