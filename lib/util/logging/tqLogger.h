#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqString.h"
#include "lib/lang/tqThrowable.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/logging/tqFilter.h"
#include "lib/util/logging/tqHandler.h"
#include "lib/util/logging/tqLevel.h"
#include "lib/util/logging/tqLogRecord.h"
#include "lib/util/logging/tqResourceBundle.h"
#include "lib/util/tqList.h"

// What a program logs through. A log call builds a record, tests it against
// the logger's level and filter and hands it to the logger's handlers, then,
// while each logger lets it, to the handlers of its parent, grandparent...
//
// Loggers are values: a copy shares the handlers, which the caller owns and
// keeps alive as long as any logger lists them. There is no registry: one
// global logger exists, and getLogger copies it.
class tqLogger : public tqObject {
 public:
  // Level SEVERE, no name, no handlers, no parent.
  tqLogger() = default;
  // Writes `name` into the global logger, then copies it.
  explicit tqLogger(std::string_view name);
  tqLogger(const tqLogger&) = default;
  tqLogger& operator=(const tqLogger&) = default;

  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  ~tqLogger() override = default;
  // Not owned: the caller keeps it alive as long as this logger and its copies.
  virtual void addHandler(tqHandler& handler);
  virtual void config(std::string_view message);
  virtual void fine(std::string_view message);
  virtual void finer(std::string_view message);
  virtual void finest(std::string_view message);
  virtual tqFilter getFilter() const;
  // Replaces `array` with plain copies of the handlers, in the order added.
  virtual void getHandlers(std::vector<tqHandler>& array) const;
  virtual tqLevel getLevel() const;
  virtual tqString getName() const;
  // A copy of the parent; a default logger when there is none.
  virtual tqLogger getParent() const;
  virtual tqResourceBundle getResourceBundle() const;
  virtual tqString getResourceBundleName() const;
  virtual bool getUseParentHandlers() const;
  virtual void info(std::string_view message);
  // At or above this logger's level, and never OFF.
  virtual bool isLoggable(const tqLevel& level) const;
  virtual void log(const tqLevel& level, std::string_view message);
  virtual void log(const tqLevel& level, std::string_view message, std::string_view parameter);
  virtual void log(const tqLevel& level, std::string_view message, const std::vector<String>& parameters);
  virtual void log(const tqLevel& level, std::string_view message, const tqThrowable& thrown);
  // Names the record after this logger, tests it here once, and publishes it
  // along the chain; the ancestors' levels are not consulted.
  virtual void log(tqLogRecord& record);
  virtual void logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message);
  virtual void logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, std::string_view parameter);
  virtual void logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, const std::vector<String>& parameters);
  virtual void logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, const tqThrowable& thrown);
  // The record names the bundle; the bundle itself is not loaded.
  virtual void logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message);
  virtual void logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, std::string_view parameter);
  virtual void logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, const std::vector<String>& parameters);
  virtual void logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, const tqThrowable& thrown);
  // Drops every entry of this very handler.
  virtual void removeHandler(const tqHandler& handler);
  // Filters carry no state: the logger keeps testing with its own.
  virtual void setFilter(const tqFilter& filter);
  virtual void setLevel(const tqLevel& level);
  // Not owned; null for none.
  virtual void setParent(const tqLogger* logger);
  virtual void setUseParentHandlers(bool flag);
  virtual void severe(std::string_view message);
  // Logs "THROW" at FINER with the source names and the throwable.
  virtual void throwing(std::string_view sourceClass, std::string_view sourceMethod, const tqThrowable& thrown);
  virtual void warning(std::string_view message);

  // A logger named `name`, as the named constructor makes it.
  static tqLogger getLogger(std::string_view name);
  // The one logger of the process, there before main runs; getLogger leaves
  // the last name asked for in it.
  static tqLogger& globalLogger();

 private:
  // Where a record came from; empty for the plain log forms.
  struct Source {
    std::string_view sourceClass;
    std::string_view sourceMethod;
    std::string_view bundleName;
  };
  // The body of every building form: a new record with what the form
  // attaches (nothing, parameters or a throwable), handed to log(record).
  template <typename... Attachment>
  void logNew(const tqLevel& level, const Source& source, std::string_view message,
              const Attachment&... attachment);

  tqList<tqHandler*> handlers_;
  tqFilter filter_;
  tqLevel level_ = tqLevel::SEVERE;
  tqResourceBundle resourceBundle_;
  tqString resourceBundleName_;
  const tqLogger* parent_ = nullptr;
  bool useParentHandlers_ = true;
  tqString name_;
};
