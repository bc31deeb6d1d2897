#include "check/ScheduleCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "check/CronHabits.h"

namespace check {

namespace {

// Severity, line and the piece the finding quotes (the first '...' of its text).
struct Found {
  Severity severity;
  std::int64_t line;
  std::string piece;

  friend bool operator==(const Found&, const Found&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Found& found) {
    return out << "{" << static_cast<int>(found.severity) << ", " << found.line << ", \"" << found.piece << "\"}";
  }
};
using Founds = std::vector<Found>;

std::string quotedPiece(const std::string& text) {
  const std::size_t open = text.find('\'');
  if (open == std::string::npos) return {};
  return text.substr(open + 1, text.find('\'', open + 1) - open - 1);
}

// The zone answers nothing: the notes are not what these tests are about.
class NoZone : public LocalZone {
 public:
  std::optional<schedule::LocalMinute> localMinute(std::chrono::sys_seconds) const override { return {}; }
};

SystemAnswers fakeSystem(bool shellChoosesInterpreter) {
  return {.isUserAccountName = [](std::string_view name) { return name == "backup" || name == "mail"; },
          .isExecutableFile = [](std::string_view path) { return path == "/bin/bash"; },
          .shellChoosesInterpreter = shellChoosesInterpreter};
}

std::vector<Finding> checked(std::string_view text, bool shellChoosesInterpreter = true) {
  const NoZone zone;
  const CheckSettings settings{.from = {}, .nextStartCount = 3, .zone = zone, .system = fakeSystem(shellChoosesInterpreter)};
  std::vector<Finding> findings = checkSchedule(schedule::readSchedule(text), settings);
  std::erase_if(findings, [](const Finding& finding) { return finding.severity == Severity::note; });
  return findings;
}

Founds foundIn(const std::vector<Finding>& findings) {
  Founds founds;
  for (const Finding& finding : findings) founds.push_back({finding.severity, finding.line, quotedPiece(finding.text)});
  return founds;
}

constexpr Severity warning = Severity::warning;
constexpr Severity error = Severity::error;

}  // namespace

TEST(ScheduleCheck, WarnsOfEachCronHabitQuotingItsPiece) {
  struct Case {
    std::string text;
    Founds found;
  };
  const Case cases[] = {
      // Clean lines, cron's way and plandek's alike.
      {"0 4 * * * run\n*/5 * 1-31/8 * * run\n@daily run\n@reboot run\nPATH=/bin\nSHELL=/bin/bash\nSHELL=\n", {}},
      {"0 4 */8 * * run", {{warning, 1, "*/8"}}},
      {"0 1 1 */6 * run", {{warning, 1, "*/6"}}},
      // A step of 1 keeps every day either way; minutes and hours count from 0 in cron too.
      {"*/5 */2 */1 * * run", {}},
      {"0/5 * * * * run", {{warning, 1, "0/5"}}},
      {"0 0 * jan/3 mon/2 run", {{warning, 1, "jan/3"}, {warning, 1, "mon/2"}}},
      {"5/15 0/2 * * * run", {{warning, 1, "5/15"}, {warning, 1, "0/2"}}},
      {"0 0 * * * date +\\%Y", {{warning, 1, "\\%"}}},
      {"0 0 * * * date +%Y", {{warning, 1, "%"}}},
      {"17 * * * * root cd / && run-parts /etc/cron.hourly", {{warning, 1, "root"}}},
      {"17 * * * * backup /usr/sbin/backup-all", {{warning, 1, "backup"}}},
      // An option after the word: a command of that name, not a user.
      {"17 * * * * mail -s hello me\n17 * * * * root\n17 * * * * rooted run", {}},
      {"0 0 13 * fri run", {{warning, 1, "13"}}},
      {"0 0 30 2 * run\n0 0 31 4,6,9,11 * run\n0 0 29 2 * run\n0 0 * * * run\n@reboot run",
       {{warning, 1, "0 0 30 2 *"}, {warning, 2, "0 0 31 4,6,9,11 *"}, {warning, 3, "0 0 29 2 *"}}},
      {"MAILTO=me@example.org\nCRON_TZ=UTC\nRANDOM_DELAY=5", {{warning, 1, "MAILTO"}, {warning, 2, "CRON_TZ"}, {warning, 3, "RANDOM_DELAY"}}},
      {"SHELL=/bin/nosuch\n0 0 * * * run", {{warning, 1, "/bin/nosuch"}}},
      {"0 0 * * * run\n@daily run\n@reboot run\n@reboot run\n0 0 * * * other",
       {{warning, 2, "0 0 * * * run"}, {warning, 4, "@reboot run"}}},
      // Every line plandek skips is an error, the loader's numbering kept.
      {"# comment\n0 4 * *\n0 25 * * * run\nBAD NAME=1", {{error, 2, ""}, {error, 3, ""}, {error, 4, ""}}},
  };
  for (const Case& example : cases) EXPECT_EQ(foundIn(checked(example.text)), example.found) << example.text;
}

TEST(ScheduleCheck, WarnsThatShellChoosesNoInterpreterWhereItDoesNot) {
  EXPECT_EQ(foundIn(checked("SHELL=/bin/bash\nSHELL=\n", false)), (Founds{{warning, 1, "SHELL"}, {warning, 2, "SHELL"}}));
}

TEST(ScheduleCheck, SaysWhatEachHabitMeansHereAndInCron) {
  const std::vector<Finding> findings = checked(
      "0 4 */8 * * a\n0/5 * 2/3 * * b\n0 0 13 * fri c\n0 0 * * * c\n@daily c\nMAILTO=me\nbad\n"
      "0 0 30 2 * d\n0 0 29 2 * e\n0 0 1 1 1 f");
  const std::vector<Finding> expected = {
      {1, warning, "'*/8' in the day of month counts from 0 here (8, 16, 24); cron counts from 1 (1, 9, 17, 25)"},
      {2, warning, "'0/5' is minute 0 alone here; every 5 from 0 is '*/5'"},
      {2, warning, "'2/3' is day of month 2 alone here; every 3 from 2 is '2-31/3'"},
      {3, warning, "day of month '13' and day of week 'fri' both restricted: here both must hold; cron runs when "
                   "either does"},
      {5, warning, "'0 0 * * * c' is the same entry as line 4: it runs twice"},
      {6, warning, "'MAILTO' is not acted on: plandek mails nothing; the commands receive it as a variable"},
      {7, error, "skipped (too few fields)"},
      {8, warning, "'0 0 30 2 *' is never due"},
      {9, warning, "'0 0 29 2 *' is due only in leap years"},
      {10, warning, "day of month '1' and day of week '1' both restricted: here both must hold; cron runs when either "
                    "does"},
      {10, warning, "'0 0 1 1 1' is due only in the years its day of month falls on its day of week"},
  };
  std::vector<Finding> sorted = findings;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  EXPECT_EQ(sorted, expected);
}

}  // namespace check
