#include "lib/util/logging/tqLogger.h"

#include <mutex>

const tqTypeDescriptor tqLogger::descriptor{"8TQLOGGER", &tqObject::descriptor};

namespace {

// Naming the global logger and copying it is one step.
std::mutex& namingMutex() {
  static std::mutex mutex;
  return mutex;
}

void attach(tqLogRecord& record, std::string_view parameter) { record.setParameters({String(parameter)}); }

void attach(tqLogRecord& record, const std::vector<String>& parameters) { record.setParameters(parameters); }

void attach(tqLogRecord& record, const tqThrowable& thrown) { record.setThrown(thrown); }

}  // namespace

template <typename... Attachment>
void tqLogger::logNew(const tqLevel& level, const Source& source, std::string_view message,
                      const Attachment&... attachment) {
  tqLogRecord record(level, message);
  (attach(record, attachment), ...);
  record.setSourceClassName(source.sourceClass);
  record.setSourceMethodName(source.sourceMethod);
  record.setResourceBundleName(source.bundleName);
  log(record);
}

tqLogger::tqLogger(std::string_view name) : tqLogger(getLogger(name)) {}

const tqTypeDescriptor& tqLogger::typeDescriptor() const { return descriptor; }

void tqLogger::addHandler(tqHandler& handler) { handlers_.add(&handler); }

void tqLogger::config(std::string_view message) { log(tqLevel::CONFIG, message); }

void tqLogger::fine(std::string_view message) { log(tqLevel::FINE, message); }

void tqLogger::finer(std::string_view message) { log(tqLevel::FINER, message); }

void tqLogger::finest(std::string_view message) { log(tqLevel::FINEST, message); }

tqFilter tqLogger::getFilter() const { return filter_; }

void tqLogger::getHandlers(std::vector<tqHandler>& array) const {
  array.clear();
  for (std::int64_t index = 0; index < handlers_.size(); ++index) array.emplace_back(*handlers_.at(index));
}

tqLevel tqLogger::getLevel() const { return level_; }

tqString tqLogger::getName() const { return name_; }

tqLogger tqLogger::getParent() const { return parent_ ? *parent_ : tqLogger(); }

tqResourceBundle tqLogger::getResourceBundle() const { return resourceBundle_; }

tqString tqLogger::getResourceBundleName() const { return resourceBundleName_; }

bool tqLogger::getUseParentHandlers() const { return useParentHandlers_; }

void tqLogger::info(std::string_view message) { log(tqLevel::INFO, message); }

bool tqLogger::isLoggable(const tqLevel& level) const {
  return level.intValue() >= level_.intValue() && level.intValue() != tqLevel::OFF.intValue();
}

void tqLogger::log(const tqLevel& level, std::string_view message) { logNew(level, {}, message); }

void tqLogger::log(const tqLevel& level, std::string_view message, std::string_view parameter) {
  logNew(level, {}, message, parameter);
}

void tqLogger::log(const tqLevel& level, std::string_view message, const std::vector<String>& parameters) {
  logNew(level, {}, message, parameters);
}

void tqLogger::log(const tqLevel& level, std::string_view message, const tqThrowable& thrown) {
  logNew(level, {}, message, thrown);
}

void tqLogger::log(tqLogRecord& record) {
  record.setLoggerName(name_.view());
  if (!isLoggable(record.getLevel()) || !filter_.isLoggable(record)) return;
  for (const tqLogger* logger = this; logger != nullptr; logger = logger->parent_) {
    for (std::int64_t index = 0; index < logger->handlers_.size(); ++index) {
      logger->handlers_.at(index)->publish(record);
    }
    if (!logger->useParentHandlers_) break;
  }
}

void tqLogger::logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message) {
  logNew(level, {sourceClass, sourceMethod, {}}, message);
}

void tqLogger::logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, std::string_view parameter) {
  logNew(level, {sourceClass, sourceMethod, {}}, message, parameter);
}

void tqLogger::logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, const std::vector<String>& parameters) {
  logNew(level, {sourceClass, sourceMethod, {}}, message, parameters);
}

void tqLogger::logp(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                    std::string_view message, const tqThrowable& thrown) {
  logNew(level, {sourceClass, sourceMethod, {}}, message, thrown);
}

void tqLogger::logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message) {
  logNew(level, {sourceClass, sourceMethod, bundleName}, message);
}

void tqLogger::logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, std::string_view parameter) {
  logNew(level, {sourceClass, sourceMethod, bundleName}, message, parameter);
}

void tqLogger::logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, const std::vector<String>& parameters) {
  logNew(level, {sourceClass, sourceMethod, bundleName}, message, parameters);
}

void tqLogger::logrb(const tqLevel& level, std::string_view sourceClass, std::string_view sourceMethod,
                     std::string_view bundleName, std::string_view message, const tqThrowable& thrown) {
  logNew(level, {sourceClass, sourceMethod, bundleName}, message, thrown);
}

void tqLogger::removeHandler(const tqHandler& handler) {
  for (std::int64_t index = handlers_.size(); index-- > 0;) {
    if (handlers_.at(index) == &handler) handlers_.removeAt(index);
  }
}

void tqLogger::setFilter(const tqFilter&) {}

void tqLogger::setLevel(const tqLevel& level) { level_ = level; }

void tqLogger::setParent(const tqLogger* logger) { parent_ = logger; }

void tqLogger::setUseParentHandlers(bool flag) { useParentHandlers_ = flag; }

void tqLogger::severe(std::string_view message) { log(tqLevel::SEVERE, message); }

void tqLogger::throwing(std::string_view sourceClass, std::string_view sourceMethod, const tqThrowable& thrown) {
  logp(tqLevel::FINER, sourceClass, sourceMethod, "THROW", thrown);
}

void tqLogger::warning(std::string_view message) { log(tqLevel::WARNING, message); }

tqLogger tqLogger::getLogger(std::string_view name) {
  const std::lock_guard lock(namingMutex());
  tqLogger& global = globalLogger();
  global.name_ = tqString(name);
  return global;
}

tqLogger& tqLogger::globalLogger() {
  static tqLogger global;
  return global;
}
