#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqStackTraceElement.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqList.h"

// An error described as an object: a message, the throwable it was made from
// and a stack trace. It is built, handed on and destroyed; nothing throws it.
//
// The cause is a plain reference that is never owned: by default a throwable
// is its own cause, and a copy refers to whatever the throwable it was copied
// from referred to - to that very throwable when it was its own cause.
// Reading the cause after that object is gone is not supported.
class tqThrowable : public tqObject {
 public:
  // Empty message, its own cause, empty stack trace.
  tqThrowable() = default;
  // Made from `cause`: its message is the cause's text form and its cause is
  // `cause`. A null cause gives the default throwable.
  explicit tqThrowable(const tqThrowable* cause);
  // Copies the message and the cause reference; the stack trace gets copies
  // of the elements.
  tqThrowable(const tqThrowable& other);
  tqThrowable& operator=(const tqThrowable& other);
  ~tqThrowable() override = default;

  // "tqThrowable: " and the message; the empty text for an empty message.
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // A new throwable made from this one: its message is this one's text form.
  virtual tqThrowable wrap() const;
  // A new throwable whose message is the text form of the cause's wrap, so
  // "tqThrowable: tqException: x" for an exception x that is its own cause.
  // The answer's cause is that same cause.
  virtual tqThrowable getCause() const;
  virtual String getLocalizedMessage() const;
  virtual String getMessage() const;
  // Replaces `array` with copies of the stack trace; leaves it untouched when
  // the stack trace is empty.
  virtual void getStackTrace(std::vector<tqStackTraceElement>& array) const;
  // The message, without any class prefix, then every element's text, each
  // followed by CR LF; just CR LF for an empty throwable.
  virtual std::string stackTraceText() const;
  // Refers to `cause` (null: to itself from now on) and answers wrap.
  virtual tqThrowable initCause(const tqThrowable* cause);
  // Writes stackTraceText and one more CR LF to the console.
  virtual void printStackTrace() const;
  // Replaces the stack trace with copies of the elements, in array order.
  virtual void setStackTrace(const std::vector<tqStackTraceElement>& array);
  virtual std::string toText() const;

 protected:
  String message_;

 private:
  tqThrowable(std::string_view message, const tqThrowable* cause);

  // Null stands for this very object.
  const tqThrowable* cause_ = nullptr;
  tqList<tqStackTraceElement> stackTrace_;
};
