#pragma once

#include <string>

#include "lib/lang/tqObject.h"

class tqHandler;
class tqLogRecord;

// Turns a record into the text of the log file: two lines, CR LF between them,
//   mm-dd-yyyy hh:mm:ss source-or-logger-name [method]
//   LEVEL: message with its placeholders replaced
// and, when the record carries a throwable, its text form on a line of its own.
class tqFormatter : public tqObject {
 public:
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  virtual std::string format(const tqLogRecord& record) const;
  // The message, looked up in the record's bundle when it holds it as a key,
  // with "{0}", "{1}"... replaced by the parameters.
  virtual std::string formatMessage(const tqLogRecord& record) const;
  // What goes before the first record of a file: the empty text.
  virtual std::string getHead(const tqHandler* handler) const;
  // What goes after the last record of a file: the empty text.
  virtual std::string getTail(const tqHandler* handler) const;
};
