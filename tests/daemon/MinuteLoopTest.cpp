#include "daemon/MinuteLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "daemon/SchedulerClock.h"

namespace {

using namespace std::chrono_literals;
using Instant = SchedulerClock::Instant;

Instant at(int hour, int minute, int second) {
  return std::chrono::sys_days(std::chrono::year(2026) / 12 / 13) + std::chrono::hours(hour) +
         std::chrono::minutes(minute) + std::chrono::seconds(second);
}

// "what hh:mm:ss"
std::string event(const char* what, const tqDateSerial& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %02d:%02d:%02d", what, time.hour(), time.minute(), time.second());
  return text;
}

// Local time is UTC here. Each sleep lands where `wakeUps` says, or on its
// target when the list has run out; the sleep after the last pass is ended by
// a stop.
class FakeClock final : public SchedulerClock {
 public:
  FakeClock(Instant start, int passes) : now_(start), sleepsLeft_(passes - 1) {}

  Instant now() override {
    events.push_back("read");
    return now_;
  }
  tqDateSerial localTime(Instant instant) override {
    const auto day = std::chrono::floor<std::chrono::days>(instant);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss time(instant - day);
    return tqDateSerial::fromFields(
        static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
        static_cast<int>(unsigned(date.day())), static_cast<int>(time.hours().count()),
        static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  }
  bool sleepUntil(Instant wakeTime) override {
    events.push_back(event("sleep until", localTime(wakeTime)));
    if (sleepsLeft_-- == 0) return false;
    if (!wakeUps.empty()) {
      now_ = wakeUps.front();
      wakeUps.erase(wakeUps.begin());
    } else if (wakeTime > now_) {
      now_ = wakeTime;
    }
    return true;
  }
  // A pass's work taking its time.
  void spend(std::chrono::seconds duration) { now_ += duration; }

  std::vector<std::string> events;
  std::vector<Instant> wakeUps;

 private:
  Instant now_;
  int sleepsLeft_;
};

std::vector<std::string> runPasses(FakeClock& clock, std::chrono::seconds workPerPass = 0s) {
  runMinuteLoop(
      clock, [&clock] { clock.events.push_back("check"); },
      [&clock, workPerPass](const tqDateSerial& now) {
        clock.events.push_back(event("due", now));
        clock.spend(workPerPass);
      });
  return clock.events;
}

}  // namespace

TEST(MinuteLoop, PassesAtOnceThenRightAfterSecondZeroOfEveryMinute) {
  FakeClock clock(at(23, 59, 37), 3);
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 23:59:37", "sleep until 00:00:00",  //
                                      "check", "read", "due 00:00:00", "sleep until 00:01:00",  //
                                      "check", "read", "due 00:01:00", "sleep until 00:02:00"}));
}

TEST(MinuteLoop, WorkWithinTheMinuteDoesNotShiftTheNextPass) {
  FakeClock clock(at(12, 0, 0), 3);
  EXPECT_EQ(runPasses(clock, 25s),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "sleep until 12:01:00",  //
                                      "check", "read", "due 12:01:00", "sleep until 12:02:00",  //
                                      "check", "read", "due 12:02:00", "sleep until 12:03:00"}));
}

TEST(MinuteLoop, WorkPastSecondZeroIsFollowedAtOnceByTheMinuteItEndsIn) {
  FakeClock clock(at(12, 0, 50), 3);
  // The first pass's work spans 12:01, the second's ends after 12:03:00.
  EXPECT_EQ(runPasses(clock, 70s),
            (std::vector<std::string>{"check", "read", "due 12:00:50", "sleep until 12:01:00",  //
                                      "check", "read", "due 12:02:00", "sleep until 12:03:00",  //
                                      "check", "read", "due 12:03:10", "sleep until 12:04:00"}));
}

TEST(MinuteLoop, MatchesNoMinuteTwiceWhenTheClockIsSetBackIntoIt) {
  FakeClock clock(at(12, 0, 30), 3);
  clock.wakeUps = {at(12, 0, 59), at(12, 1, 0)};
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:30", "sleep until 12:01:00",  //
                                      "check", "read", "sleep until 12:01:00",                  //
                                      "check", "read", "due 12:01:00", "sleep until 12:02:00"}));
}

TEST(MinuteLoop, FollowsTheClockSetBackByAnHour) {
  FakeClock clock(at(12, 0, 30), 2);
  clock.wakeUps = {at(11, 1, 0)};
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:30", "sleep until 12:01:00",  //
                                      "check", "read", "due 11:01:00", "sleep until 11:02:00"}));
}
