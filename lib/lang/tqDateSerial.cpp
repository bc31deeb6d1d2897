#include "lib/lang/tqDateSerial.h"

#include <cmath>

#include "platform/Clock.h"

namespace {

constexpr std::int64_t secondsPerDay = 86400;
// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t dayZeroFromUnixEpoch = -25569;
// 1 January 100 and 1 January 10000 as date serials.
constexpr double firstDay = -657434.0;
constexpr double endDay = 2958466.0;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
  return value / divisor - (value % divisor < 0 ? 1 : 0);
}

std::int64_t floorModulo(std::int64_t value, std::int64_t divisor) {
  return value - floorDivide(value, divisor) * divisor;
}

// Days of the proleptic Gregorian calendar from 1 January 1970, after Howard
// Hinnant's days_from_civil and civil_from_days; month 1 to 12, day 1 to 31.
std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = floorDivide(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
  std::int64_t year;
  std::int32_t month;
  std::int32_t day;
};

CivilDate civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = floorDivide(days, 146097);
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const auto day = static_cast<std::int32_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const auto month =
      static_cast<std::int32_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

tqDateSerial::tqDateSerial(double serial)
    : tqDateSerial(serial >= firstDay && serial < endDay
                       ? static_cast<std::int64_t>(std::llround(serial * secondsPerDay))
                       : std::int64_t{0}) {}

tqDateSerial::tqDateSerial(std::int64_t secondsSinceDayZero)
    : day_(floorDivide(secondsSinceDayZero, secondsPerDay)),
      secondOfDay_(static_cast<std::int32_t>(floorModulo(secondsSinceDayZero, secondsPerDay))) {
  const CivilDate date = civilFromDays(day_ + dayZeroFromUnixEpoch);
  year_ = static_cast<std::int32_t>(date.year);
  month_ = date.month;
  dayOfMonth_ = date.day;
}

tqDateSerial tqDateSerial::fromFields(int year, int month, int day, int hour, int minute,
                                      int second) {
  const std::int64_t wholeYear = std::int64_t{year} + floorDivide(std::int64_t{month} - 1, 12);
  const std::int64_t monthOfYear = floorModulo(std::int64_t{month} - 1, 12) + 1;
  const std::int64_t days =
      daysFromCivil(wholeYear, monthOfYear, 1) - dayZeroFromUnixEpoch + (std::int64_t{day} - 1);
  return tqDateSerial(days * secondsPerDay + std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 +
                      second);
}

tqDateSerial tqDateSerial::now() {
  const platform::LocalTime now = platform::localTimeNow();
  if (now.year == 0) return tqDateSerial();
  return fromFields(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

double tqDateSerial::value() const {
  return static_cast<double>(day_) + static_cast<double>(secondOfDay_) / secondsPerDay;
}

int tqDateSerial::year() const { return year_; }

int tqDateSerial::month() const { return month_; }

int tqDateSerial::day() const { return dayOfMonth_; }

int tqDateSerial::hour() const { return secondOfDay_ / 3600; }

int tqDateSerial::minute() const { return secondOfDay_ / 60 % 60; }

int tqDateSerial::second() const { return secondOfDay_ % 60; }

int tqDateSerial::weekday() const { return static_cast<int>(floorModulo(day_ + 6, 7)) + 1; }
