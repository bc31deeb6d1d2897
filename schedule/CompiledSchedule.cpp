#include "schedule/CompiledSchedule.h"

#include <algorithm>
#include <bit>
#include <span>

namespace schedule {

namespace {

using Bits = std::uint64_t;

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

bool isDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool equalIgnoringCase(std::string_view text, std::string_view lowerCase) {
  return text.size() == lowerCase.size() &&
         std::equal(text.begin(), text.end(), lowerCase.begin(),
                    [](char c, char lower) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == lower; });
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether a word that failed as the day of week is rather a command's first
// word, written after four time fields: a word holding a character that no
// field uses (a path, a file name, a quoted word, a variable), or a word of
// letters that is no name, nor a misspelt one ("mond"), of the months or the
// days.
bool looksLikeACommand(std::string_view word) {
  // Only a word: a field handed in may hold blanks.
  if (word.empty() || word.find(' ') != std::string_view::npos) return false;
  const auto isFieldCharacter = [](char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == ',' || c == '-' || c == '/' || c == '*';
  };
  if (word.front() == '/' || !std::all_of(word.begin(), word.end(), isFieldCharacter)) return true;
  if (!isLetter(word.front())) return false;
  const std::string_view start = word.substr(0, 3);
  const auto isNameStart = [start](std::string_view name) { return equalIgnoringCase(start, name); };
  return std::none_of(std::begin(scheduleFieldRules), std::end(scheduleFieldRules), [&](const ScheduleFieldRule& rule) {
    return std::any_of(rule.valueNames.begin(), rule.valueNames.end(), isNameStart);
  });
}

// Reads one field left to right, one piece at a time; a fault leaves its
// reason behind.
class FieldReader {
 public:
  FieldReader(std::string_view field, ScheduleField which) : text_(field), which_(which), rule_(ruleOf(which)) {}

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
        if (!value(low)) return std::nullopt;
        int high = low;
        if (take('-')) {
          if (!value(high)) return std::nullopt;
          // "sat-sun" runs to the end of the week, Sunday as 7.
          if (which_ == ScheduleField::dayOfWeek && lastWasName_ && high == 0 && low > 0) high = sundayAsSeven;
        }
        if (low > high) return blame(std::string(text_.substr(itemStart, at_ - itemStart)) + " runs backwards");
        if (firstItem) first = low;
        firstItem = false;
        bits |= bitsFrom(low, high);
      } while (take(','));
    }
    if (take('/')) {
      const std::string_view piece = nextPiece();
      if (piece.empty()) return blame("an empty step");
      if (!isDigits(piece)) return blame(shownInReason(piece) + " is not a number");
      if (numberOf(piece) < 1) return blame("a step of 0");
      bits &= stepLattice(first, numberOf(piece));
    }
    if (at_ != text_.size()) return blame(shownInReason(text_) + " is not understood");
    return bits;
  }

  std::string takeReason() { return std::move(reason_); }

 private:
  bool take(char wanted) {
    if (at_ == text_.size() || text_[at_] != wanted) return false;
    ++at_;
    return true;
  }

  // The text up to the next ",", "-" or "/", taken.
  std::string_view nextPiece() {
    const std::size_t start = at_;
    at_ = std::min(text_.find_first_of(",-/", start), text_.size());
    return text_.substr(start, at_ - start);
  }

  static int numberOf(std::string_view digits) {
    int value = 0;
    for (const char digit : digits) value = std::min(value * 10 + (digit - '0'), numberCeiling);
    return value;
  }

  // A number inside the field's range or, in the month and day-of-week
  // fields, a name of three letters in any case.
  bool value(int& result) {
    const std::string_view piece = nextPiece();
    lastWasName_ = false;
    if (piece.empty()) {
      blame("an empty list item");
      return false;
    }
    if (!isDigits(piece)) {
      const std::span<const std::string_view> names = rule_.valueNames;
      const auto name = std::find_if(names.begin(), names.end(),
                                     [piece](std::string_view candidate) { return equalIgnoringCase(piece, candidate); });
      if (name == names.end()) {
        const std::string kind = rule_.valueNameKind.empty() ? "" : " or " + std::string(rule_.valueNameKind);
        blame(shownInReason(piece) + " is not a number" + kind);
        return false;
      }
      result = rule_.first + static_cast<int>(name - names.begin());
      lastWasName_ = true;
      return true;
    }
    result = numberOf(piece);
    if (result < rule_.first || result > rule_.last) {
      reason_ = std::string(rule_.name) + " " + std::string(piece) + " is not in " + std::to_string(rule_.first) +
                "-" + std::to_string(rule_.last);
      return false;
    }
    return true;
  }

  std::nullopt_t blame(const std::string& detail) {
    reason_ = std::string(rule_.name) + ": " + detail;
    return std::nullopt;
  }

  std::string_view text_;
  ScheduleField which_;
  const ScheduleFieldRule& rule_;
  std::size_t at_ = 0;
  bool lastWasName_ = false;
  std::string reason_;
};

}  // namespace

// Fills a CompiledSchedule's bits; a friend, so they stay private.
struct ScheduleCompiler {
  static CompiledSchedule atStartUp() {
    CompiledSchedule compiled;
    compiled.runsAtStartUp_ = true;
    return compiled;
  }

  static ScheduleCompilation compile(const ScheduleFields& fields) {
    ScheduleCompilation compilation;
    Bits bits[scheduleFieldCount] = {};
    bool timeHasStar = false;
    for (int index = 0; index < scheduleFieldCount; ++index) {
      const auto which = static_cast<ScheduleField>(index);
      if (which == ScheduleField::minute || which == ScheduleField::hour) {
        timeHasStar = timeHasStar || fields[index].starts_with('*');
      }
      FieldReader reader(fields[index], which);
      const std::optional<Bits> read = reader.read();
      if (!read) {
        compilation.malformation = reader.takeReason();
        // The command's first word where the day of week should stand.
        if (which == ScheduleField::dayOfWeek && looksLikeACommand(fields[index])) {
          compilation.malformation = std::string(ruleOf(which).name)
                                         .append(": ")
                                         .append(shownInReason(fields[index]))
                                         .append(" looks like a command: one time field missing?");
        }
        return compilation;
      }
      // "*" runs past the field's own values.
      bits[index] = *read & bitsFrom(ruleOf(which).first, ruleOf(which).last);
    }
    const auto bitsOf = [&bits](ScheduleField which) { return bits[static_cast<int>(which)]; };
    CompiledSchedule& compiled = compilation.schedule.emplace();
    const Bits weekdays = bitsOf(ScheduleField::dayOfWeek);
    compiled.minutes_ = bitsOf(ScheduleField::minute);
    compiled.hours_ = static_cast<std::uint32_t>(bitsOf(ScheduleField::hour));
    compiled.days_ = static_cast<std::uint32_t>(bitsOf(ScheduleField::dayOfMonth));
    compiled.months_ = static_cast<std::uint16_t>(bitsOf(ScheduleField::month));
    compiled.weekdays_ =
        static_cast<std::uint8_t>((weekdays | weekdays >> sundayAsSeven) & bitsFrom(0, sundayAsSeven - 1));
    compiled.isRepeating_ = timeHasStar;
    return compilation;
  }
};

CompiledSchedule CompiledSchedule::atStartUp() { return ScheduleCompiler::atStartUp(); }

bool CompiledSchedule::isDueInYearOfKind(bool leap, int weekdayOfFirstJanuary) const {
  constexpr int daysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (minutes_ == 0 || hours_ == 0) return false;
  // The days of the month that fall on a due weekday, for a month beginning
  // on Sunday; shifted by the weekday a month begins on.
  Bits weekdayDays = 0;
  for (int day = 1; day <= 31 + 6; ++day) {
    if (weekdays_ >> ((day - 1) % 7) & 1) weekdayDays |= Bits{1} << day;
  }
  int firstWeekday = weekdayOfFirstJanuary;
  for (int month = 1; month <= 12; ++month) {
    const int length = daysInMonth[month - 1] + (leap && month == 2 ? 1 : 0);
    // Day d falls on weekday (firstWeekday + d - 1) % 7, the weekday of day
    // d + firstWeekday in a month beginning on Sunday.
    const Bits dueWeekdays = weekdayDays >> firstWeekday;
    if ((months_ >> month & 1) != 0 && (days_ & dueWeekdays & bitsFrom(1, length)) != 0) return true;
    firstWeekday = (firstWeekday + length) % 7;
  }
  return false;
}

bool CompiledSchedule::isEverDue() const {
  for (int weekday = 0; weekday < 7; ++weekday) {
    if (isDueInYearOfKind(false, weekday) || isDueInYearOfKind(true, weekday)) return true;
  }
  return false;
}

CompiledSchedule::YearsDue CompiledSchedule::yearsDue() const {
  int commonKindsDue = 0;
  int leapKindsDue = 0;
  for (int weekday = 0; weekday < 7; ++weekday) {
    commonKindsDue += isDueInYearOfKind(false, weekday);
    leapKindsDue += isDueInYearOfKind(true, weekday);
  }
  if (commonKindsDue == 7 && leapKindsDue == 7) return YearsDue::every;
  if (commonKindsDue == 0 && leapKindsDue == 7) return YearsDue::leapOnly;
  return commonKindsDue + leapKindsDue == 0 ? YearsDue::never : YearsDue::some;
}

bool CompiledSchedule::isDueOnDay(std::chrono::year_month_day date, std::chrono::weekday weekday) const {
  return (days_ >> unsigned(date.day()) & months_ >> unsigned(date.month()) & weekdays_ >> weekday.c_encoding() & 1) != 0;
}

std::optional<LocalMinute> CompiledSchedule::firstDueFrom(LocalMinute from, LocalMinute until) const {
  using namespace std::chrono;
  if (minutes_ == 0 || hours_ == 0 || from >= until) return std::nullopt;
  local_days day = floor<days>(from);
  minutes sinceMidnight = from - day;
  while (day < until) {
    const year_month_day date(day);
    if ((months_ >> unsigned(date.month()) & 1) == 0) {
      // A month not due at all is passed over whole.
      day = local_days((date.year() / date.month() / 1) + months(1));
      sinceMidnight = minutes(0);
      continue;
    }
    if (isDueOnDay(date, weekday(day))) {
      const int fromHour = static_cast<int>(floor<hours>(sinceMidnight).count());
      const int fromMinute = static_cast<int>((sinceMidnight - floor<hours>(sinceMidnight)).count());
      for (Bits hoursLeft = Bits{hours_} & (~Bits{0} << fromHour); hoursLeft != 0; hoursLeft &= hoursLeft - 1) {
        const int hour = std::countr_zero(hoursLeft);
        const Bits minutesLeft = minutes_ & (hour == fromHour ? ~Bits{0} << fromMinute : ~Bits{0});
        if (minutesLeft == 0) continue;
        const LocalMinute due = day + hours(hour) + minutes(std::countr_zero(minutesLeft));
        return due < until ? std::optional<LocalMinute>(due) : std::nullopt;
      }
    }
    day += days(1);
    sinceMidnight = minutes(0);
  }
  return std::nullopt;
}

ScheduleCompilation compileSchedule(const ScheduleFields& fields) { return ScheduleCompiler::compile(fields); }

std::string shownInReason(std::string_view text) {
  // Pieces hold no blanks, so only a piece that ends in "):" could form one.
  std::string shown(text);
  if (shown.ends_with("):")) shown.insert(0, 1, '\'').push_back('\'');
  return shown;
}

}  // namespace schedule
