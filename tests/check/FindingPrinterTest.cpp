#include "check/FindingPrinter.h"

#include <gtest/gtest.h>

namespace check {

TEST(FindingPrinter, PrintsTheWholeFileFirstThenByLineKeepingTheOrderOfALine) {
  const std::vector<Finding> findings = {
      {7, Severity::warning, "b"}, {2, Severity::note, "first of 2"}, {0, Severity::error, "whole"},
      {2, Severity::warning, "second of 2"}};
  EXPECT_EQ(printedFindings("dir/plandek.dat", findings),
            "dir/plandek.dat: error: whole\n"
            "dir/plandek.dat:2: note: first of 2\n"
            "dir/plandek.dat:2: warning: second of 2\n"
            "dir/plandek.dat:7: warning: b\n");
}

TEST(FindingPrinter, AnswersTheExitStatusOfTheWorstFinding) {
  struct Case {
    std::vector<Severity> severities;
    int status;
  };
  const Case cases[] = {
      {{}, 0},
      {{Severity::note, Severity::note}, 0},
      {{Severity::note, Severity::warning}, 1},
      {{Severity::error, Severity::warning, Severity::note}, 2},
  };
  for (const Case& example : cases) {
    std::vector<Finding> findings;
    for (const Severity severity : example.severities) findings.push_back({1, severity, "x"});
    EXPECT_EQ(exitStatusOf(findings), example.status) << findings.size();
  }
}

}  // namespace check
