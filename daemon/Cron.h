#pragma once

#include <string>
#include <string_view>

#include "daemon/CompiledSchedule.h"
#include "lib/lang/tqTypes.h"
#include "lib/util/tqElementRules.h"

// One entry of the schedule: when to run and what. A plain value, compared by
// its key text, schedule "=" command. The schedule is compiled once, here, so
// the scheduler's minute pass never parses text.
class Cron {
 public:
  // Both texts empty; never due.
  Cron() = default;
  // Compiles `schedule`.
  Cron(std::string_view schedule, std::string_view command);
  // `compiledSchedule` is `schedule` compiled, by a caller that has done so.
  Cron(std::string_view schedule, std::string_view command, const CompiledSchedule& compiledSchedule);

  const String& schedule() const;
  const String& command() const;
  const CompiledSchedule& compiledSchedule() const;

  // The key text: schedule "=" command, nothing around the "=".
  std::string toString() const;

  // Equal key texts, byte by byte: ("a=b", "c") equals ("a", "b=c").
  friend bool operator==(const Cron& left, const Cron& right);

 private:
  String schedule_;
  String command_;
  CompiledSchedule compiledSchedule_;
};

template <>
struct tqElementRules<Cron> {
  static constexpr std::string_view name = "Cron";
  static bool equal(const Cron& left, const Cron& right) { return left == right; }
  static std::string text(const Cron& element) { return element.toString(); }
  static Cron emptyValue() { return Cron(); }
};
