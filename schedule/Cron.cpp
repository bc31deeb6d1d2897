#include "schedule/Cron.h"

#include <utility>

namespace schedule {

Cron::Cron(std::string_view schedule, std::string_view command, const CompiledSchedule& compiledSchedule,
           platform::CommandEnvironment environment)
    : schedule_(schedule), command_(command), compiledSchedule_(compiledSchedule), environment_(std::move(environment)) {}

const String& Cron::schedule() const { return schedule_; }

const String& Cron::command() const { return command_; }

const CompiledSchedule& Cron::compiledSchedule() const { return compiledSchedule_; }

const platform::CommandEnvironment& Cron::environment() const { return environment_; }

std::string Cron::toString() const {
  std::string key;
  key.reserve(schedule_.size() + 1 + command_.size());
  key.append(schedule_).append("=").append(command_);
  return key;
}

bool operator==(const Cron& left, const Cron& right) { return left.toString() == right.toString(); }

}  // namespace schedule
