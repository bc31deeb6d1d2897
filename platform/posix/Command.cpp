#include "platform/Command.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/PreparedEnvironment.h"

extern char** environ;

namespace platform {

namespace {

// Linux's MAX_ARG_STRLEN, 32 pages of 4 KiB: the longest argument, its
// terminating zero included, that execve passes.
constexpr std::size_t longestArgument = 131072;
constexpr std::string_view reasonEnd = "): ";
// How often the reaper looks at its own children while a child that is not
// its own waits for its owner to reap it.
constexpr int ownersReapingPollMilliseconds = 10;

std::string errorText(int error) { return std::generic_category().message(error); }

// The interpreter's path as a reason may show it.
std::string shownInterpreter(std::string_view interpreter) {
  if (interpreter.find(reasonEnd) != std::string_view::npos) return "named in SHELL";
  return std::string(interpreter);
}

// What posix_spawn's answer means to the user: a process the system would not
// make, a line it would not pass, or an interpreter that is not there or not
// a program.
std::string spawnFailure(int error, std::string_view interpreter) {
  switch (error) {
    case EAGAIN:
    case ENOMEM:
    case EMFILE:
    case ENFILE:
      return "no new process: " + errorText(error);
    case E2BIG:
      return "the system refused the command line: " + errorText(error);
    default:
      return "no interpreter " + shownInterpreter(interpreter) + ": " + errorText(error);
  }
}

// The interpreter starts afresh: nothing blocked and no signal caught or
// ignored on the daemon's behalf, whatever thread starts it, in a session of
// its own, so that `kill 0` or a terminal's hang-up reaches only its own
// processes.
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
             posix_spawnattr_setflags(&attributes_,
                                      POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID) == 0;
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

// Standard input from /dev/null: a command that reads it ends its input at
// once instead of waiting on the daemon's terminal or the pipe it was started
// from.
class SpawnFileActions {
 public:
  SpawnFileActions() : initialised_(posix_spawn_file_actions_init(&actions_) == 0) {
    valid_ = initialised_ && posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
  }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  ~SpawnFileActions() {
    if (initialised_) posix_spawn_file_actions_destroy(&actions_);
  }

  const posix_spawn_file_actions_t* get() const { return valid_ ? &actions_ : nullptr; }

 private:
  posix_spawn_file_actions_t actions_;
  bool initialised_;
  bool valid_ = false;
};

struct Spawned {
  pid_t child = 0;
  // Empty when the child runs.
  std::string failure;
};

Spawned spawnInterpreter(std::string_view commandLine, const CommandEnvironment& environment) {
  if (commandLine.find('\0') != std::string_view::npos) return {0, "the command holds a zero byte"};
  const CommandEnvironment::Prepared* prepared = environment.prepared();
  const std::string_view interpreter = prepared != nullptr ? std::string_view(prepared->interpreter)
                                                           : CommandEnvironment::Prepared::defaultInterpreter;
  // posix_spawn would look for it in whatever folder the daemon is in.
  if (!interpreter.starts_with('/')) {
    return {0, "the interpreter " + shownInterpreter(interpreter) + " is not a full path"};
  }
  std::string command(commandLine);
  std::string interpreterName = prepared != nullptr ? prepared->interpreterName : "sh";
  char commandOption[] = "-c";
  // "--" keeps a command that begins with "-" from being read as an option.
  char endOfOptions[] = "--";
  char* arguments[] = {interpreterName.data(), commandOption, endOfOptions, command.data(), nullptr};

  const SpawnAttributes attributes;
  const SpawnFileActions fileActions;
  if (attributes.get() == nullptr || fileActions.get() == nullptr) return {0, "no new process: " + errorText(ENOMEM)};
  Spawned spawned;
  const std::string path(interpreter);
  char* const* variables = prepared != nullptr ? prepared->pointers.data() : environ;
  const int error = posix_spawn(&spawned.child, path.c_str(), fileActions.get(), attributes.get(), arguments, variables);
  if (error != 0) return {0, spawnFailure(error, interpreter)};
  return spawned;
}

// Reaps the children started through it and no others: the same process may
// start children of its own and wait for them (tests do). It learns which
// child ended without reaping it (WNOWAIT) and reaps it only when it is one
// of its own; a child is registered under the same lock as its spawn, so an
// own child that ends at once is never taken for another's. While another's
// child waits for its owner, the reaper polls its own.
class Reaper {
 public:
  // The process-wide one, its thread started on first use; it lives as long
  // as the process. Null, with the reason, when no thread could be made: the
  // next start tries again.
  static Reaper* instance(std::string& failure) {
    static std::mutex making;
    static Reaper* reaper = nullptr;
    const std::lock_guard lock(making);
    if (reaper != nullptr) return reaper;
    auto* made = new Reaper;
    try {
      std::thread([made] { made->run(); }).detach();
    } catch (const std::system_error& error) {
      delete made;
      failure = "no thread to reap it: " + error.code().message();
      return nullptr;
    }
    reaper = made;
    return reaper;
  }

  Spawned start(std::string_view commandLine, const CommandEnvironment& environment) {
    const std::lock_guard lock(mutex_);
    Spawned spawned = spawnInterpreter(commandLine, environment);
    if (spawned.failure.empty()) {
      children_.insert(spawned.child);
      ++registrations_;
      registered_.notify_one();
    }
    return spawned;
  }

 private:
  Reaper() = default;

  void run() {
    for (;;) {
      std::uint64_t registrationsBefore = 0;
      {
        const std::lock_guard lock(mutex_);
        registrationsBefore = registrations_;
      }
      siginfo_t ended{};
      if (::waitid(P_ALL, 0, &ended, WEXITED | WNOWAIT) != 0) {
        if (errno == EINTR) continue;
        awaitRegistrationAfter(registrationsBefore);
        continue;
      }
      if (!reapIfOwn(ended.si_pid)) awaitOwnersReaping(ended.si_pid);
    }
  }

  // No child at all: nothing to wait for until one is started.
  void awaitRegistrationAfter(std::uint64_t registrationsBefore) {
    std::unique_lock lock(mutex_);
    // Reaped by someone else, then: they are gone.
    if (registrations_ == registrationsBefore) children_.clear();
    registered_.wait(lock, [&] { return registrations_ != registrationsBefore; });
  }

  bool reapIfOwn(pid_t child) {
    const std::lock_guard lock(mutex_);
    if (!children_.contains(child)) return false;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) < 0 && errno == EINTR) {
    }
    children_.erase(child);
    return true;
  }

  void awaitOwnersReaping(pid_t othersChild) {
    for (;;) {
      reapEndedOwn();
      // A poll's wait, unlike a steady-clock wait, also ends under a faked clock.
      ::poll(nullptr, 0, ownersReapingPollMilliseconds);
      siginfo_t ended{};
      if (::waitid(P_PID, static_cast<id_t>(othersChild), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 ||
          ended.si_pid != othersChild) {
        return;
      }
    }
  }

  void reapEndedOwn() {
    const std::lock_guard lock(mutex_);
    std::erase_if(children_, [](pid_t child) {
      int status = 0;
      return ::waitpid(child, &status, WNOHANG) == child;
    });
  }

  std::mutex mutex_;
  std::condition_variable registered_;
  std::unordered_set<pid_t> children_;
  std::uint64_t registrations_ = 0;
};

}  // namespace

std::string startCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  std::string failure;
  Reaper* const reaper = Reaper::instance(failure);
  if (reaper == nullptr) return failure;
  return reaper->start(commandLine, environment).failure;
}

bool runCommand(std::string_view commandLine, const CommandEnvironment& environment) {
  const Spawned spawned = spawnInterpreter(commandLine, environment);
  if (!spawned.failure.empty()) return false;
  // Reaping it here keeps the daemon free of zombies.
  int status = 0;
  while (::waitpid(spawned.child, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

std::string commandLineRefusal(std::string_view commandLine) {
  if (commandLine.size() < longestArgument) return {};
  return "longer than the " + std::to_string(longestAsciiCommandLine()) + " bytes the system can pass";
}

std::size_t longestAsciiCommandLine() { return longestArgument - 1; }

}  // namespace platform
