#pragma once

#include <cstdint>
#include <string>

namespace check {

// In rising order of weight: the worst one decides the exit status.
enum class Severity { note, warning, error };

// One thing to say about a schedule file.
struct Finding {
  // Counted from 1; 0 for the whole file.
  std::int64_t line = 0;
  Severity severity = Severity::note;
  std::string text;

  friend bool operator==(const Finding&, const Finding&) = default;
};

}  // namespace check
