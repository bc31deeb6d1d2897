#pragma once

#include "lib/lang/tqObject.h"

class tqLogRecord;

// Decides whether a record is written; this one lets every record through.
class tqFilter : public tqObject {
 public:
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  virtual bool isLoggable(const tqLogRecord& record) const;
};
