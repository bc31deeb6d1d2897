#pragma once

#include <string>
#include <string_view>

#include "lib/lang/tqTypes.h"
#include "lib/util/tqElementRules.h"
#include "platform/CommandEnvironment.h"
#include "schedule/CompiledSchedule.h"

namespace schedule {

// One entry of the schedule: when to run, what, and in which environment. A
// plain value, compared by its key text, schedule "=" command. The schedule is
// compiled once, here, so the scheduler's minute pass never parses text.
class Cron {
 public:
  // Both texts empty; never due.
  Cron() = default;
  // `compiledSchedule` is `schedule` compiled, by a caller that has done so;
  // without an environment the command runs in the daemon's own.
  Cron(std::string_view schedule, std::string_view command, const CompiledSchedule& compiledSchedule,
       platform::CommandEnvironment environment = {});

  const String& schedule() const;
  const String& command() const;
  const CompiledSchedule& compiledSchedule() const;
  const platform::CommandEnvironment& environment() const;

  // The key text: schedule "=" command, nothing around the "=".
  std::string toString() const;

  // Equal key texts, byte by byte: ("a=b", "c") equals ("a", "b=c").
  friend bool operator==(const Cron& left, const Cron& right);

 private:
  String schedule_;
  String command_;
  CompiledSchedule compiledSchedule_;
  platform::CommandEnvironment environment_;
};

}  // namespace schedule

template <>
struct tqElementRules<schedule::Cron> {
  static constexpr std::string_view name = "Cron";
  static bool equal(const schedule::Cron& left, const schedule::Cron& right) { return left == right; }
  static std::string text(const schedule::Cron& element) { return element.toString(); }
  static schedule::Cron emptyValue() { return {}; }
};
