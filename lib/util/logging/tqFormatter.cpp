#include "lib/util/logging/tqFormatter.h"

#include <cstdio>
#include <vector>

#include "lib/lang/tqDateSerial.h"
#include "lib/lang/tqThrowable.h"
#include "lib/util/logging/LineEnds.h"
#include "lib/util/logging/Placeholders.h"
#include "lib/util/logging/tqLogRecord.h"

const tqTypeDescriptor tqFormatter::descriptor{"11TQFORMATTER", &tqObject::descriptor};

namespace {

// "mm-dd-yyyy hh:mm:ss ", the month first.
std::string timeStampOf(double serial) {
  const tqDateSerial time(serial);
  char text[80];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d ", time.month(), time.day(), time.year(),
                time.hour(), time.minute(), time.second());
  return text;
}

}  // namespace

const tqTypeDescriptor& tqFormatter::typeDescriptor() const { return descriptor; }

std::string tqFormatter::format(const tqLogRecord& record) const {
  std::string text = timeStampOf(record.getTime());
  const tqString sourceClass = record.getSourceClassName();
  text.append(sourceClass.isEmpty() ? record.getLoggerName().view() : sourceClass.view());
  const tqString sourceMethod = record.getSourceMethodName();
  if (!sourceMethod.isEmpty()) text.append(" ").append(sourceMethod.view());
  text.append("\r\n");
  text.append(record.getLevel().getLocalizedName().view());
  text.append(": ");
  text.append(getHead(nullptr)).append(formatMessage(record)).append(getTail(nullptr));
  const std::string trace = record.getThrown().stackTraceText();
  if (!withoutLineEndPairs(trace).empty()) text.append("\r\n").append(trace);
  return text;
}

std::string tqFormatter::formatMessage(const tqLogRecord& record) const {
  std::string text = record.getMessage().toString();
  const String fromBundle = record.getResourceBundle().getString(text);
  if (!fromBundle.empty()) text = fromBundle;
  std::vector<String> parameters;
  if (!record.getParameters(parameters)) return text;
  return substitutePlaceholders(text, parameters);
}

std::string tqFormatter::getHead(const tqHandler*) const { return {}; }

std::string tqFormatter::getTail(const tqHandler*) const { return {}; }
