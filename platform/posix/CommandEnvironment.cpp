#include "platform/CommandEnvironment.h"

#include <string_view>
#include <utility>

#include "platform/posix/PreparedEnvironment.h"

extern char** environ;

namespace platform {

namespace {

bool names(std::string_view variable, std::string_view name) {
  return variable.size() > name.size() && variable.starts_with(name) && variable[name.size()] == '=';
}

}  // namespace

CommandEnvironment::CommandEnvironment(std::vector<Setting> settings) {
  auto prepared = std::make_shared<Prepared>();
  for (char** variable = environ; variable != nullptr && *variable != nullptr; ++variable) {
    prepared->variables.emplace_back(*variable);
  }
  prepared->interpreter = Prepared::defaultInterpreter;
  for (const Setting& setting : settings) {
    std::string variable = setting.name + "=" + setting.value;
    bool replaced = false;
    for (std::string& existing : prepared->variables) {
      if (names(existing, setting.name)) {
        existing = replaced ? std::string() : variable;
        replaced = true;
      }
    }
    if (!replaced) prepared->variables.push_back(std::move(variable));
    if (setting.name == "SHELL") {
      prepared->interpreter = setting.value.empty() ? Prepared::defaultInterpreter : setting.value;
    }
  }
  // A name the daemon's environment held twice is left once.
  std::erase_if(prepared->variables, [](const std::string& variable) { return variable.empty(); });
  for (std::string& variable : prepared->variables) prepared->pointers.push_back(variable.data());
  prepared->pointers.push_back(nullptr);
  prepared->interpreterName = prepared->interpreter.substr(prepared->interpreter.find_last_of('/') + 1);
  made_ = std::make_shared<const Made>(Made{std::move(settings), std::move(prepared)});
}

}  // namespace platform
