#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqString.h"
#include "lib/lang/tqThrowable.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/logging/tqLevel.h"
#include "lib/util/logging/tqResourceBundle.h"
#include "lib/util/tqList.h"

// One log event on its way from a logger to its handlers.
class tqLogRecord : public tqObject {
 public:
  // Stamps the record with the seconds timer, the local time and the next
  // sequence number of the process, the first being 1. Safe from any thread.
  tqLogRecord(const tqLevel& level, std::string_view message);

  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  virtual tqLevel getLevel() const;
  virtual tqString getLoggerName() const;
  virtual tqString getMessage() const;
  // Seconds of the timer of platform/Clock.h, to the nearest whole second.
  virtual std::int32_t getSeconds() const;
  // A date serial of the local time, to the whole second.
  virtual double getTime() const;
  // Replaces `array` with the parameters; false, leaving it untouched, when there are none.
  virtual bool getParameters(std::vector<String>& array) const;
  virtual tqResourceBundle getResourceBundle() const;
  virtual tqString getResourceBundleName() const;
  virtual std::int32_t getSequenceNumber() const;
  virtual tqString getSourceClassName() const;
  virtual tqString getSourceMethodName() const;
  virtual std::uint64_t getThreadID() const;
  // Not the held throwable but its wrap: message its text form, no stack trace.
  virtual tqThrowable getThrown() const;
  virtual void setLevel(const tqLevel& level);
  virtual void setLoggerName(std::string_view name);
  virtual void setMessage(std::string_view message);
  virtual void setSeconds(std::int32_t seconds);
  virtual void setTime(double serial);
  virtual void setParameters(const std::vector<String>& array);
  virtual void setResourceBundle(const tqResourceBundle& bundle);
  virtual void setResourceBundleName(std::string_view name);
  virtual void setSequenceNumber(std::int32_t number);
  virtual void setSourceClassName(std::string_view name);
  virtual void setSourceMethodName(std::string_view name);
  virtual void setThreadID(std::uint64_t id);
  virtual void setThrown(const tqThrowable& thrown);

 private:
  tqLevel level_;
  tqString message_;
  tqString loggerName_;
  std::int32_t seconds_ = 0;
  double time_ = 0;
  tqList<String> parameters_;
  tqResourceBundle resourceBundle_;
  tqString resourceBundleName_;
  std::int32_t sequenceNumber_ = 0;
  std::uint64_t threadID_ = 0;
  tqThrowable thrown_;
  tqString sourceClassName_;
  tqString sourceMethodName_;
};
