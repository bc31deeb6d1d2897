#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

// The environment commands run in: the daemon's own, with some variables set
// to values of their own. Everything a command's start needs of it is made
// once, when it is made, so that a start builds nothing. Values are taken as
// written, never expanded. On POSIX a setting of SHELL also names the
// interpreter that runs the commands (/bin/sh when there is none, or it is
// empty); on Windows SHELL is a variable like any other and the interpreter is
// always %ComSpec%.
class CommandEnvironment {
 public:
  // UTF-8 text. On Windows bytes that are not valid UTF-8 become U+FFFD;
  // elsewhere they are passed as they are.
  struct Setting {
    std::string name;
    std::string value;

    friend bool operator==(const Setting&, const Setting&) = default;
  };

  // The daemon's own environment as it is when each command starts.
  CommandEnvironment() = default;
  // The daemon's environment as it is now, each setting applied in order: a
  // setting replaces the variable of its name (on Windows, of its name in any
  // case) or adds one.
  explicit CommandEnvironment(std::vector<Setting> settings);

  // The settings it was made with; none for the daemon's own environment.
  const std::vector<Setting>& settings() const {
    static const std::vector<Setting> none;
    return made_ ? made_->settings : none;
  }

  // Each operating system's form, made for its command runner.
  struct Prepared;
  // Null for the daemon's own environment.
  const Prepared* prepared() const { return made_ ? made_->prepared.get() : nullptr; }

 private:
  // Made once, shared by every copy.
  struct Made {
    std::vector<Setting> settings;
    std::shared_ptr<const Prepared> prepared;
  };
  std::shared_ptr<const Made> made_;
};

}  // namespace platform
