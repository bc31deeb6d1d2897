#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqString.h"
#include "lib/util/logging/tqErrorManager.h"
#include "lib/util/logging/tqFilter.h"
#include "lib/util/logging/tqFormatter.h"
#include "lib/util/logging/tqLevel.h"
#include "lib/util/tqElementRules.h"

class tqException;
class tqLogRecord;

// Receives the records a logger lets through and writes them out; this one
// writes them to the console. Formatter, filter and error manager carry no
// state, so every handler keeps its own plain ones and the setters for them
// change nothing. A copy is a plain console handler with the same encoding
// and level.
class tqHandler : public tqObject {
 public:
  tqHandler() = default;
  tqHandler(const tqHandler& other);
  tqHandler& operator=(const tqHandler& other);
  ~tqHandler() override = default;

  // The empty text, for every handler.
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  virtual void close();
  virtual void flush();
  virtual tqString getEncoding() const;
  virtual tqErrorManager getErrorManager() const;
  virtual tqFilter getFilter() const;
  virtual tqFormatter getFormatter() const;
  virtual tqLevel getLevel() const;
  virtual bool isLoggable(const tqLogRecord& record) const;
  // Writes records at or above the handler's level, which by default passes
  // every level.
  virtual void publish(const tqLogRecord& record);
  // Stored, not used.
  virtual void setEncoding(std::string_view encoding);
  virtual void setErrorManager(const tqErrorManager& manager);
  virtual void setFilter(const tqFilter& filter);
  virtual void setFormatter(const tqFormatter& formatter);
  virtual void setLevel(const tqLevel& level);
  // True when both read the same as text, as every two handlers do.
  virtual bool equalsHandler(const tqHandler& other) const;
  virtual std::string toText() const;
  virtual void reportError(std::string_view message, const tqException& exception, std::int64_t code) const;

 protected:
  // The level test and the filter, which both publish forms apply first.
  bool passes(const tqLogRecord& record) const;

  tqString encoding_;
  tqErrorManager errorManager_;
  tqFilter filter_;
  tqFormatter formatter_;
  tqLevel level_;
};

template <>
struct tqPointeeName<tqHandler> {
  static constexpr std::string_view name = "tqHandler";
};
