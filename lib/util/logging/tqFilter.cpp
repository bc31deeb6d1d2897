#include "lib/util/logging/tqFilter.h"

const tqTypeDescriptor tqFilter::descriptor{"8TQFILTER", &tqObject::descriptor};

const tqTypeDescriptor& tqFilter::typeDescriptor() const { return descriptor; }

bool tqFilter::isLoggable(const tqLogRecord&) const { return true; }
