#include "platform/Command.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

#include "platform/posix/PreparedEnvironment.h"

extern char** environ;

namespace platform {

namespace {

// The interpreter starts afresh: nothing blocked and no signal caught or
// ignored on the daemon's behalf, whatever thread starts it.
class SpawnAttributes {
 public:
  SpawnAttributes() : initialised_(posix_spawnattr_init(&attributes_) == 0) {
    if (!initialised_) return;
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    valid_ = posix_spawnattr_setsigmask(&attributes_, &noSignals) == 0 &&
             posix_spawnattr_setsigdefault(&attributes_, &allSignals) == 0 &&
             posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() {
    if (initialised_) posix_spawnattr_destroy(&attributes_);
  }

  const posix_spawnattr_t* get() const { return valid_ ? &attributes_ : nullptr; }

 private:
  posix_spawnattr_t attributes_;
  bool initialised_;
  bool valid_ = false;
};

}  // namespace

bool runCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  if (commandLine.find('\0') != std::string_view::npos) return false;
  const CommandEnvironment::Prepared* prepared = environment.prepared();
  std::string command(commandLine);
  std::string interpreterName = prepared != nullptr ? prepared->interpreterName : "sh";
  char commandOption[] = "-c";
  // "--" keeps a command that begins with "-" from being read as an option.
  char endOfOptions[] = "--";
  char* arguments[] = {interpreterName.data(), commandOption, endOfOptions, command.data(), nullptr};

  const SpawnAttributes attributes;
  if (attributes.get() == nullptr) return false;
  pid_t child = 0;
  const char* interpreter = prepared != nullptr ? prepared->interpreter.c_str() : "/bin/sh";
  char* const* variables = prepared != nullptr ? prepared->pointers.data() : environ;
  if (posix_spawn(&child, interpreter, nullptr, attributes.get(), arguments, variables) != 0) return false;
  // Reaping it here keeps the daemon free of zombies.
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

}  // namespace platform
