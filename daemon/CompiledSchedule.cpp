#include "daemon/CompiledSchedule.h"

#include <algorithm>
#include <optional>

namespace {

using Bits = std::uint64_t;

constexpr Bits bitsFrom(int low, int high) { return (~Bits{0} >> (63 - high)) & (~Bits{0} << low); }

// "*" stands for 0 to 59 in every field.
constexpr Bits star = bitsFrom(0, 59);
// No field tells numbers this large apart; stopping here keeps long digit runs from overflowing.
constexpr int numberCeiling = 100000;

// Reads a schedule left to right, one character at a time.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool isAt(char wanted) const { return at_ < text_.size() && text_[at_] == wanted; }

  bool take(char wanted) {
    if (at_ == text_.size() || text_[at_] != wanted) return false;
    ++at_;
    return true;
  }

  // One or more digits.
  bool number(int& value) {
    const std::size_t start = at_;
    value = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      value = std::min(value * 10 + (text_[at_] - '0'), numberCeiling);
      ++at_;
    }
    return at_ > start;
  }

  bool atEnd() const { return at_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// The values from 0 to 63 that lie a multiple of `step` away from `first`.
Bits stepLattice(int first, int step) {
  Bits bits = 0;
  for (int value = first % step; value < 64; value += step) bits |= Bits{1} << value;
  return bits;
}

std::optional<Bits> compileField(Scanner& in, ScheduleFieldRange range) {
  Bits bits = 0;
  int first = 0;
  if (in.take('*')) {
    bits = star;
  } else {
    bool firstItem = true;
    do {
      int low = 0;
      if (!in.number(low)) return std::nullopt;
      int high = low;
      if (in.take('-') && !in.number(high)) return std::nullopt;
      if (low < range.first || high > range.last || low > high) return std::nullopt;
      if (firstItem) first = low;
      firstItem = false;
      bits |= bitsFrom(low, high);
    } while (in.take(','));
  }
  if (in.take('/')) {
    int step = 0;
    if (!in.number(step) || step < 1) return std::nullopt;
    bits &= stepLattice(first, step);
  }
  return bits;
}

}  // namespace

CompiledSchedule::CompiledSchedule(std::string_view schedule) {
  Scanner in(schedule);
  Bits fields[scheduleFieldCount] = {};
  bool timeHasStar = false;
  for (int index = 0; index < scheduleFieldCount; ++index) {
    if (index == minuteField || index == hourField) timeHasStar = timeHasStar || in.isAt('*');
    const std::optional<Bits> bits = compileField(in, scheduleFieldRanges[index]);
    if (!bits) return;
    fields[index] = *bits;
    if (index + 1 < scheduleFieldCount && !in.take(' ')) return;
  }
  if (!in.atEnd()) return;
  const Bits weekdays = fields[weekdayField] | (fields[weekdayField] >> sundayAsSeven & 1);
  minutes_ = fields[0] & bitsFrom(0, 59);
  hours_ = static_cast<std::uint32_t>(fields[1] & bitsFrom(0, 23));
  days_ = static_cast<std::uint32_t>(fields[2] & bitsFrom(1, 31));
  months_ = static_cast<std::uint16_t>(fields[3] & bitsFrom(1, 12));
  weekdays_ = static_cast<std::uint8_t>(weekdays & bitsFrom(0, 6));
  isWildcard_ = timeHasStar;
}
