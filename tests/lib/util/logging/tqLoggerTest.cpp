#include "lib/util/logging/tqLogger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "lib/lang/tqException.h"

namespace {

// Keeps what it is handed: the handler's own mark, the logger name, the
// level, the message and the parameters.
class RecordingHandler : public tqHandler {
 public:
  RecordingHandler(std::vector<std::string>& journal, std::string mark) : journal_(journal), mark_(std::move(mark)) {}

  void publish(const tqLogRecord& record) override {
    std::vector<String> parameters;
    record.getParameters(parameters);
    std::string text = mark_ + ":" + record.getLoggerName().toString() + "|" + record.getLevel().toString() + "|" +
                       record.getMessage().toString();
    for (const String& parameter : parameters) text += "|" + parameter;
    journal_.push_back(text);
    last = std::make_unique<tqLogRecord>(record);
  }

  std::unique_ptr<tqLogRecord> last;

 private:
  std::vector<std::string>& journal_;
  std::string mark_;
};

}  // namespace

TEST(tqLogger, IsLoggableAtOrAboveItsLevelButNeverOff) {
  const tqLevel* all[] = {&tqLevel::ALL,  &tqLevel::FINEST,  &tqLevel::FINER,  &tqLevel::FINE, &tqLevel::CONFIG,
                          &tqLevel::INFO, &tqLevel::WARNING, &tqLevel::SEVERE, &tqLevel::OFF};
  for (const tqLevel* threshold : all) {
    tqLogger logger;
    logger.setLevel(*threshold);
    for (const tqLevel* level : all) {
      const bool expected = level->intValue() >= threshold->intValue() && level != &tqLevel::OFF;
      EXPECT_EQ(logger.isLoggable(*level), expected) << threshold->toString() << " " << level->toString();
    }
  }
  // A default logger passes only SEVERE.
  EXPECT_TRUE(tqLogger().isLoggable(tqLevel::SEVERE));
  EXPECT_FALSE(tqLogger().isLoggable(tqLevel::WARNING));
  // Only OFF's very value is kept out.
  EXPECT_TRUE(tqLogger().isLoggable(tqLevel("ABOVE OFF", tqLevel::OFF.intValue() + 1)));
}

TEST(tqLogger, NamedLoggersAreCopiesOfTheGlobalLogger) {
  const tqLogger first = tqLogger::getLogger("plandek");
  EXPECT_EQ(tqLogger::globalLogger().getName().toString(), "plandek");
  const tqLogger second("other");
  EXPECT_EQ(first.getName().toString(), "plandek");
  EXPECT_EQ(second.getName().toString(), "other");
  EXPECT_EQ(tqLogger::globalLogger().getName().toString(), "other");
  EXPECT_EQ(second.getLevel().intValue(), 1000);
  EXPECT_TRUE(second.getUseParentHandlers());
  std::vector<tqHandler> handlers(3);
  second.getHandlers(handlers);
  EXPECT_TRUE(handlers.empty());
  EXPECT_EQ(second.getParent().getName().toString(), "") << "no parent: a default logger";
}

TEST(tqLogger, LogCallsBuildOneRecordEach) {
  std::vector<std::string> journal;
  RecordingHandler handler(journal, "h");
  tqLogger logger = tqLogger::getLogger("plandek");
  logger.addHandler(handler);
  logger.setLevel(tqLevel::ALL);

  logger.log(tqLevel::SEVERE, "Starting {0}", "nightly.bat");
  logger.log(tqLevel::INFO, "two {0} {1}", std::vector<String>{"a", "b"});
  logger.severe("s");
  logger.warning("w");
  logger.info("i");
  logger.config("c");
  logger.fine("f");
  logger.finer("fr");
  logger.finest("fs");
  logger.log(tqLevel::OFF, "never");
  EXPECT_EQ(journal, (std::vector<std::string>{"h:plandek|SEVERE|Starting {0}|nightly.bat",
                                               "h:plandek|INFO|two {0} {1}|a|b", "h:plandek|SEVERE|s",
                                               "h:plandek|WARNING|w", "h:plandek|INFO|i", "h:plandek|CONFIG|c",
                                               "h:plandek|FINE|f", "h:plandek|FINER|fr", "h:plandek|FINEST|fs"}));

  logger.logp(tqLevel::INFO, "Sched", "run", "pass {0}", "7");
  EXPECT_EQ(journal.back(), "h:plandek|INFO|pass {0}|7");
  EXPECT_EQ(handler.last->getSourceClassName().toString(), "Sched");
  EXPECT_EQ(handler.last->getSourceMethodName().toString(), "run");
  EXPECT_EQ(handler.last->getResourceBundleName().toString(), "");

  logger.logrb(tqLevel::INFO, "Sched", "run", "messages", "key", std::vector<String>{"x"});
  EXPECT_EQ(journal.back(), "h:plandek|INFO|key|x");
  EXPECT_EQ(handler.last->getResourceBundleName().toString(), "messages");

  logger.throwing("Loader", "load", tqException("bad line"));
  EXPECT_EQ(journal.back(), "h:plandek|FINER|THROW");
  EXPECT_EQ(handler.last->getSourceClassName().toString(), "Loader");
  EXPECT_EQ(handler.last->getSourceMethodName().toString(), "load");
  EXPECT_EQ(handler.last->getThrown().getMessage(), "tqThrowable: bad line");
}

TEST(tqLogger, RecordsBelowTheLevelOrAtOffAreDropped) {
  std::vector<std::string> journal;
  RecordingHandler handler(journal, "h");
  tqLogger logger;
  logger.addHandler(handler);
  logger.log(tqLevel::INFO, "below SEVERE");
  logger.log(tqLevel::OFF, "never");
  logger.setLevel(tqLevel::OFF);
  logger.log(tqLevel::SEVERE, "nothing passes OFF");
  EXPECT_TRUE(journal.empty());
  // A logger without handlers takes calls and publishes nothing.
  tqLogger().severe("nowhere");
}

TEST(tqLogger, RecordsClimbTheParentChainWhileLoggersLetThem) {
  std::vector<std::string> journal;
  RecordingHandler childFirst(journal, "child1");
  RecordingHandler childSecond(journal, "child2");
  RecordingHandler parentHandler(journal, "parent");
  RecordingHandler rootHandler(journal, "root");
  tqLogger root;
  root.addHandler(rootHandler);
  tqLogger parent;
  parent.addHandler(parentHandler);
  parent.setParent(&root);
  // The ancestors' levels are not consulted, only the called logger's.
  parent.setLevel(tqLevel::OFF);
  root.setLevel(tqLevel::OFF);
  tqLogger child = tqLogger::getLogger("child");
  child.addHandler(childFirst);
  child.addHandler(childSecond);
  child.setParent(&parent);

  child.severe("up");
  EXPECT_EQ(journal, (std::vector<std::string>{"child1:child|SEVERE|up", "child2:child|SEVERE|up",
                                               "parent:child|SEVERE|up", "root:child|SEVERE|up"}));
  EXPECT_EQ(child.getParent().getLevel().intValue(), tqLevel::OFF.intValue());

  journal.clear();
  parent.setUseParentHandlers(false);
  child.severe("stops");
  EXPECT_EQ(journal, (std::vector<std::string>{"child1:child|SEVERE|stops", "child2:child|SEVERE|stops",
                                               "parent:child|SEVERE|stops"}));

  journal.clear();
  child.setUseParentHandlers(false);
  child.severe("own");
  EXPECT_EQ(journal, (std::vector<std::string>{"child1:child|SEVERE|own", "child2:child|SEVERE|own"}));
}

TEST(tqLogger, CopiesShareTheHandlers) {
  std::vector<std::string> journal;
  RecordingHandler handler(journal, "h");
  tqLogger logger = tqLogger::getLogger("plandek");
  logger.addHandler(handler);
  tqLogger copy = logger;
  tqLogger assigned;
  assigned = logger;
  copy.severe("copy");
  assigned.severe("assigned");
  EXPECT_EQ(journal, (std::vector<std::string>{"h:plandek|SEVERE|copy", "h:plandek|SEVERE|assigned"}));
  std::vector<tqHandler> handlers;
  copy.getHandlers(handlers);
  ASSERT_EQ(handlers.size(), 1u);
  EXPECT_EQ(handlers[0].toString(), "");
}

TEST(tqLogger, RemoveHandlerDropsThatHandlerOnly) {
  std::vector<std::string> journal;
  RecordingHandler kept(journal, "kept");
  RecordingHandler removed(journal, "removed");
  tqLogger logger;
  logger.addHandler(removed);
  logger.addHandler(kept);
  logger.addHandler(removed);
  ASSERT_TRUE(kept.equalsHandler(removed)) << "every handler reads as the empty text";
  logger.removeHandler(removed);
  logger.severe("x");
  EXPECT_EQ(journal, std::vector<std::string>{"kept:|SEVERE|x"});
  std::vector<tqHandler> handlers;
  logger.getHandlers(handlers);
  EXPECT_EQ(handlers.size(), 1u);
}
