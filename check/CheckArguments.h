#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace check {

// plandek-check [--next N] [--from "YYYY-MM-DD HH:MM"] [FILE], or --help, or --version.
struct CheckArguments {
  int nextStartCount = 3;
  // Empty: now.
  std::string from;
  std::string fileName = "plandek.dat";
  bool help = false;
  bool version = false;
};

// The arguments, or what is wrong with them (then no arguments).
struct ArgumentsReading {
  std::optional<CheckArguments> arguments;
  std::string usageError;
};

// The arguments after the program's name.
ArgumentsReading readArguments(std::span<const std::string_view> words);

inline constexpr std::string_view checkUsage =
    "Usage: plandek-check [--next N] [--from \"YYYY-MM-DD HH:MM\"] [FILE]\n"
    "Reads FILE (plandek.dat in the working directory) as plandek reads it and tells\n"
    "what plandek would skip, the cron habits that mean something else here, and\n"
    "when each entry runs next (N starts, 3 unless told, from now or --from).\n"
    "Exit status: 0 nothing to fix, 1 warnings, 2 errors, 64 wrong arguments.\n";

}  // namespace check
