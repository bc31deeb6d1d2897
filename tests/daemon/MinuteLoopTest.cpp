#include "daemon/MinuteLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "daemon/SchedulerClock.h"

namespace plandek {

namespace {

using namespace std::chrono_literals;
using Instant = SchedulerClock::Instant;

Instant at(int hour, int minute, int second) {
  return std::chrono::sys_days(std::chrono::year(2026) / 12 / 13) + std::chrono::hours(hour) +
         std::chrono::minutes(minute) + std::chrono::seconds(second);
}

std::string clockText(const char* what, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%s %02d:%02d:%02d", what, hour, minute, second);
  return text;
}

// Local time is UTC here. Each sleep lands where `wakeUps` says, or on its
// target when the list has run out; the sleep after the last pass is ended by
// a stop. Each of the first `checks` sleeps is ended by a check request
// instead, at the same time, and does not count as a pass.
class FakeClock final : public SchedulerClock {
 public:
  FakeClock(Instant start, int passes) : now_(start), sleepsLeft_(passes - 1) {}

  Instant now() override {
    events.push_back("read");
    return now_;
  }
  std::optional<schedule::LocalMinute> localMinute(Instant instant) override {
    if (std::find(unreadable.begin(), unreadable.end(), instant) != unreadable.end()) return std::nullopt;
    return schedule::LocalMinute(std::chrono::floor<std::chrono::minutes>(instant).time_since_epoch());
  }
  SleepEnd sleepUntil(Instant wakeTime) override {
    const std::chrono::hh_mm_ss time(wakeTime - std::chrono::floor<std::chrono::days>(wakeTime));
    events.push_back(clockText("sleep until", static_cast<int>(time.hours().count()),
                               static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count())));
    if (checks > 0) {
      --checks;
      return SleepEnd::checkRequested;
    }
    if (sleepsLeft_-- == 0) return SleepEnd::stopRequested;
    if (!wakeUps.empty()) {
      now_ = wakeUps.front();
      wakeUps.erase(wakeUps.begin());
    } else if (wakeTime > now_) {
      now_ = wakeTime;
    }
    return SleepEnd::timeReached;
  }
  // A pass's work taking its time, or the clock set during it.
  void move(std::chrono::seconds by) { now_ += by; }

  std::vector<std::string> events;
  std::vector<Instant> wakeUps;
  std::vector<Instant> unreadable;
  int checks = 0;

 private:
  Instant now_;
  int sleepsLeft_;
};

const char* kindText(schedule::EntryKinds kinds) {
  switch (kinds) {
    case schedule::EntryKinds::appointmentsOnly:
      return "due (appointments)";
    case schedule::EntryKinds::repeatingOnly:
      return "due (repeating)";
    case schedule::EntryKinds::all:
      break;
  }
  return "due";
}

struct Pass {
  std::chrono::seconds work = 0s;
  bool stopDuringCheck = false;
  // The schedule check after this many successful ones answers a stop.
  int stopAtCheck = -1;
};

std::vector<std::string> runPasses(FakeClock& clock, Pass pass = {}) {
  int checks = 0;
  runMinuteLoop(
      clock,
      [&clock, &checks, pass] {
        clock.events.push_back("check");
        return !pass.stopDuringCheck && checks++ != pass.stopAtCheck;
      },
      [&clock, pass](const schedule::MinuteToMatch& minute) {
        const schedule::ScheduleTime time = schedule::ScheduleTime::of(minute.minute);
        clock.events.push_back(clockText(kindText(minute.entries), time.hour, time.minute, 0));
        clock.move(pass.work);
      });
  return clock.events;
}

}  // namespace

TEST(MinuteLoop, PassesAtOnceThenRightAfterSecondZeroOfEveryMinute) {
  FakeClock clock(at(23, 59, 37), 3);
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 23:59:00", "read", "sleep until 00:00:00",  //
                                      "check", "read", "due 00:00:00", "read", "sleep until 00:01:00",  //
                                      "check", "read", "due 00:01:00", "read", "sleep until 00:02:00"}));
}

TEST(MinuteLoop, WorkWithinTheMinuteDoesNotShiftTheNextPass) {
  FakeClock clock(at(12, 0, 0), 2);
  EXPECT_EQ(runPasses(clock, {.work = 25s}),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "read", "due 12:01:00", "read", "sleep until 12:02:00"}));
}

TEST(MinuteLoop, WorkPastSecondZeroIsFollowedAtOnceByAPassThatCatchesUp) {
  FakeClock clock(at(12, 0, 50), 2);
  // The first pass's work ends at 12:02:00, past the 12:01 boundary.
  EXPECT_EQ(runPasses(clock, {.work = 70s}),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "read", "due 12:01:00", "due 12:02:00", "read",
                                      "sleep until 12:03:00"}));
}

TEST(MinuteLoop, AMinuteComeRoundAgainAtOnceIsNotMatchedTwice) {
  FakeClock clock(at(12, 0, 30), 3);
  // The clock is set back a second during the first sleep.
  clock.wakeUps = {at(12, 0, 59), at(12, 1, 0)};
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "read", "read", "sleep until 12:01:00",                  //
                                      "check", "read", "due 12:01:00", "read", "sleep until 12:02:00"}));
}

TEST(MinuteLoop, AClockSetBackAnHourGoesOnWithTheRepeatingEntries) {
  FakeClock clock(at(12, 0, 30), 2);
  clock.wakeUps = {at(11, 1, 0)};
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "read", "due (repeating) 11:01:00", "read",
                                      "sleep until 11:02:00"}));
}

TEST(MinuteLoop, AClockSetBackDuringAPassDoesNotStretchTheWait) {
  FakeClock clock(at(12, 0, 30), 1);
  EXPECT_EQ(runPasses(clock, {.work = -1h}),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 11:01:00"}));
}

TEST(MinuteLoop, APassWhoseLocalTimeCannotBeReadMatchesNothingAndTheNextCatchesUp) {
  FakeClock clock(at(12, 0, 0), 3);
  clock.unreadable = {at(12, 1, 0)};
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "read", "read", "sleep until 12:02:00",                  //
                                      "check", "read", "due 12:01:00", "due 12:02:00", "read",
                                      "sleep until 12:03:00"}));
}

TEST(MinuteLoop, AStopDuringTheScheduleCheckEndsTheLoopBeforeMatching) {
  FakeClock clock(at(12, 0, 0), 3);
  EXPECT_EQ(runPasses(clock, {.stopDuringCheck = true}), std::vector<std::string>{"check"});
}

TEST(MinuteLoop, ACheckRequestedDuringASleepChecksAtOnceAndSleepsOnToTheSameBoundary) {
  FakeClock clock(at(12, 0, 20), 2);
  // Two requests, as two SIGHUPs in one minute: neither matches anything.
  clock.checks = 2;
  EXPECT_EQ(runPasses(clock),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00",  //
                                      "check", "sleep until 12:01:00",                                  //
                                      "check", "sleep until 12:01:00",                                  //
                                      "check", "read", "due 12:01:00", "read", "sleep until 12:02:00"}));
}

TEST(MinuteLoop, AStopDuringARequestedCheckEndsTheLoop) {
  FakeClock clock(at(12, 0, 20), 2);
  clock.checks = 1;
  EXPECT_EQ(runPasses(clock, {.stopAtCheck = 1}),
            (std::vector<std::string>{"check", "read", "due 12:00:00", "read", "sleep until 12:01:00", "check"}));
}

}  // namespace plandek
