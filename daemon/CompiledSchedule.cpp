#include "daemon/CompiledSchedule.h"

#include <algorithm>

namespace {

using Bits = std::uint64_t;

constexpr std::string_view reboot = "@reboot";
constexpr std::string_view fieldNames[scheduleFieldCount] = {"minute", "hour", "day of month", "month",
                                                             "day of week"};

constexpr Bits bitsFrom(int low, int high) { return (~Bits{0} >> (63 - high)) & (~Bits{0} << low); }

// "*" stands for 0 to 59 in every field.
constexpr Bits star = bitsFrom(0, 59);
// No field tells numbers this large apart; stopping here keeps long digit runs from overflowing.
constexpr int numberCeiling = 100000;

// The values from 0 to 63 that lie a multiple of `step` away from `first`.
Bits stepLattice(int first, int step) {
  Bits bits = 0;
  for (int value = first % step; value < 64; value += step) bits |= Bits{1} << value;
  return bits;
}

// Reads one field left to right, one character at a time; a fault leaves
// its reason behind.
class FieldReader {
 public:
  FieldReader(std::string_view field, int index) : text_(field), index_(index) {}

  std::optional<Bits> read() {
    Bits bits = 0;
    int first = 0;
    if (take('*')) {
      bits = star;
    } else {
      bool firstItem = true;
      do {
        const std::size_t itemStart = at_;
        int low = 0;
        if (!number(low)) return std::nullopt;
        int high = low;
        if (take('-') && !number(high)) return std::nullopt;
        if (low > high) return blame(std::string(text_.substr(itemStart, at_ - itemStart)) + " runs backwards");
        if (firstItem) first = low;
        firstItem = false;
        bits |= bitsFrom(low, high);
      } while (take(','));
    }
    if (take('/')) {
      int step = 0;
      if (!number(step, false)) return std::nullopt;
      if (step < 1) return blame("a step of 0");
      bits &= stepLattice(first, step);
    }
    if (at_ != text_.size()) return blame(std::string(text_) + " is not understood");
    return bits;
  }

  std::string takeReason() { return std::move(reason_); }

 private:
  bool take(char wanted) {
    if (at_ == text_.size() || text_[at_] != wanted) return false;
    ++at_;
    return true;
  }

  // One or more digits, inside the field's range when `inRange`.
  bool number(int& value, bool inRange = true) {
    const std::size_t start = at_;
    value = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      value = std::min(value * 10 + (text_[at_] - '0'), numberCeiling);
      ++at_;
    }
    const std::string_view digits = text_.substr(start, at_ - start);
    if (digits.empty()) {
      const std::string_view piece = text_.substr(start, text_.find_first_of(",-/", start) - start);
      blame(piece.empty() ? "an empty list item" : std::string(piece) + " is not a number");
      return false;
    }
    const ScheduleFieldRange range = scheduleFieldRanges[index_];
    if (inRange && (value < range.first || value > range.last)) {
      reason_ = std::string(fieldNames[index_]) + " " + std::string(digits) + " is not in " +
                std::to_string(range.first) + "-" + std::to_string(range.last);
      return false;
    }
    return true;
  }

  std::nullopt_t blame(const std::string& detail) {
    reason_ = std::string(fieldNames[index_]) + ": " + detail;
    return std::nullopt;
  }

  std::string_view text_;
  int index_;
  std::size_t at_ = 0;
  std::string reason_;
};

}  // namespace

// Fills a CompiledSchedule's bits; a friend, so they stay private.
struct ScheduleCompiler {
  static ScheduleCompilation compile(std::string_view schedule) {
    ScheduleCompilation compilation;
    if (schedule == reboot) {
      compilation.schedule.emplace();
      return compilation;
    }
    Bits fields[scheduleFieldCount] = {};
    bool timeHasStar = false;
    std::string_view rest = schedule;
    for (int index = 0; index < scheduleFieldCount; ++index) {
      // The last field takes the rest, blanks and all, which makes it malformed.
      const std::size_t blank = index + 1 < scheduleFieldCount ? rest.find(' ') : std::string_view::npos;
      if (index + 1 < scheduleFieldCount && blank == std::string_view::npos) {
        compilation.malformation = "too few fields";
        return compilation;
      }
      const std::string_view field = rest.substr(0, blank);
      rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
      if (index == minuteField || index == hourField) timeHasStar = timeHasStar || field.starts_with('*');
      FieldReader reader(field, index);
      const std::optional<Bits> bits = reader.read();
      if (!bits) {
        compilation.malformation = reader.takeReason();
        return compilation;
      }
      fields[index] = *bits;
    }
    CompiledSchedule& compiled = compilation.schedule.emplace();
    const Bits weekdays = fields[weekdayField] | (fields[weekdayField] >> sundayAsSeven & 1);
    compiled.minutes_ = fields[0] & bitsFrom(0, 59);
    compiled.hours_ = static_cast<std::uint32_t>(fields[1] & bitsFrom(0, 23));
    compiled.days_ = static_cast<std::uint32_t>(fields[2] & bitsFrom(1, 31));
    compiled.months_ = static_cast<std::uint16_t>(fields[3] & bitsFrom(1, 12));
    compiled.weekdays_ = static_cast<std::uint8_t>(weekdays & bitsFrom(0, 6));
    compiled.isWildcard_ = timeHasStar;
    return compilation;
  }
};

CompiledSchedule::CompiledSchedule(std::string_view schedule) {
  if (std::optional<CompiledSchedule> compiled = compileSchedule(schedule).schedule) *this = *compiled;
}

ScheduleCompilation compileSchedule(std::string_view schedule) { return ScheduleCompiler::compile(schedule); }
