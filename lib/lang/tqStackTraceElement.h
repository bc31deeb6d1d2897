#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/lang/tqObject.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqElementRules.h"

// One entry of a stack trace: the class and method, and where in the sources.
class tqStackTraceElement : public tqObject {
 public:
  // Empty texts and line 0.
  tqStackTraceElement() = default;
  tqStackTraceElement(std::string_view declaringClass, std::string_view methodName,
                      std::string_view fileName, std::int64_t lineNumber);

  // "Parser.read(Unknown Source:12)": "Unknown Source" stands for an empty
  // file name, and line 0 is left out.
  std::string toString() const override;
  const tqTypeDescriptor& typeDescriptor() const override;
  static const tqTypeDescriptor descriptor;

  // True when both read the same as text.
  virtual bool equalsElement(const tqStackTraceElement& other) const;
  virtual String getDeclaringClass() const;
  virtual String getFileName() const;
  virtual std::int64_t getLineNumber() const;
  virtual String getMethodName() const;
  virtual bool constantTrue() const;
  virtual std::string toText() const;

 private:
  String declaringClass_;
  String methodName_;
  String fileName_;
  std::int64_t lineNumber_ = 0;
};

template <>
struct tqElementRules<tqStackTraceElement> {
  static constexpr std::string_view name = "tqStackTraceElement";
  static bool equal(const tqStackTraceElement& left, const tqStackTraceElement& right) {
    return left.equalsElement(right);
  }
  static std::string text(const tqStackTraceElement& element) { return element.toText(); }
  static tqStackTraceElement emptyValue() { return tqStackTraceElement(); }
};
