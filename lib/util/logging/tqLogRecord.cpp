#include "lib/util/logging/tqLogRecord.h"

#include <atomic>
#include <cmath>

#include "lib/lang/tqDateSerial.h"
#include "platform/Clock.h"

const tqTypeDescriptor tqLogRecord::descriptor{"11TQLOGRECORD", &tqObject::descriptor};

namespace {

// Records are made in every thread that logs. Unsigned, so that passing
// 2^31 - 1 wraps to negative numbers rather than overflowing.
std::atomic<std::uint32_t> recordCounter{0};

}  // namespace

tqLogRecord::tqLogRecord(const tqLevel& level, std::string_view message)
    : level_(level),
      message_(message),
      // nearbyint rounds ties to even in the default rounding mode.
      seconds_(static_cast<std::int32_t>(std::nearbyint(platform::secondsTimer()))),
      time_(tqDateSerial::now().value()),
      sequenceNumber_(static_cast<std::int32_t>(recordCounter.fetch_add(1, std::memory_order_relaxed) + 1)) {}

const tqTypeDescriptor& tqLogRecord::typeDescriptor() const { return descriptor; }

tqLevel tqLogRecord::getLevel() const { return level_; }

tqString tqLogRecord::getLoggerName() const { return loggerName_; }

tqString tqLogRecord::getMessage() const { return message_; }

std::int32_t tqLogRecord::getSeconds() const { return seconds_; }

double tqLogRecord::getTime() const { return time_; }

bool tqLogRecord::getParameters(std::vector<String>& array) const { return parameters_.toArray(array); }

tqResourceBundle tqLogRecord::getResourceBundle() const { return resourceBundle_; }

tqString tqLogRecord::getResourceBundleName() const { return resourceBundleName_; }

std::int32_t tqLogRecord::getSequenceNumber() const { return sequenceNumber_; }

tqString tqLogRecord::getSourceClassName() const { return sourceClassName_; }

tqString tqLogRecord::getSourceMethodName() const { return sourceMethodName_; }

std::uint64_t tqLogRecord::getThreadID() const { return threadID_; }

tqThrowable tqLogRecord::getThrown() const { return thrown_.wrap(); }

void tqLogRecord::setLevel(const tqLevel& level) { level_ = level; }

void tqLogRecord::setLoggerName(std::string_view name) { loggerName_ = tqString(name); }

void tqLogRecord::setMessage(std::string_view message) { message_ = tqString(message); }

void tqLogRecord::setSeconds(std::int32_t seconds) { seconds_ = seconds; }

void tqLogRecord::setTime(double serial) { time_ = serial; }

void tqLogRecord::setParameters(const std::vector<String>& array) {
  parameters_.clear();
  for (const String& parameter : array) parameters_.add(parameter);
}

void tqLogRecord::setResourceBundle(const tqResourceBundle& bundle) { resourceBundle_ = bundle; }

void tqLogRecord::setResourceBundleName(std::string_view name) { resourceBundleName_ = tqString(name); }

void tqLogRecord::setSequenceNumber(std::int32_t number) { sequenceNumber_ = number; }

void tqLogRecord::setSourceClassName(std::string_view name) { sourceClassName_ = tqString(name); }

void tqLogRecord::setSourceMethodName(std::string_view name) { sourceMethodName_ = tqString(name); }

void tqLogRecord::setThreadID(std::uint64_t id) { threadID_ = id; }

void tqLogRecord::setThrown(const tqThrowable& thrown) { thrown_ = thrown; }
