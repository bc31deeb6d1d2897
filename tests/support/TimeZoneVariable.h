#pragma once

#include <cstdlib>
#include <list>
#include <optional>
#include <string>
#include <string_view>

// Sets TZ for the object's life and puts back what was there before. putenv,
// as the Windows C runtime has no setenv; putenv keeps the very string, so
// every one stays allocated and reachable to the end of the process.
class TimeZoneVariable {
 public:
  explicit TimeZoneVariable(std::string_view zone) {
    if (const char* previous = std::getenv("TZ")) previous_ = previous;
    put("TZ=" + std::string(zone));
  }
  TimeZoneVariable(const TimeZoneVariable&) = delete;
  TimeZoneVariable& operator=(const TimeZoneVariable&) = delete;
  // "TZ" without a value removes the variable (glibc).
  ~TimeZoneVariable() { put(previous_ ? "TZ=" + *previous_ : "TZ"); }

 private:
  static void put(std::string assignment) {
    static auto* const kept = new std::list<std::string>;
    kept->push_back(std::move(assignment));
    ::putenv(kept->back().data());
  }

  std::optional<std::string> previous_;
};
