#include "check/FindingPrinter.h"

#include <algorithm>

namespace check {

namespace {

std::string_view nameOf(Severity severity) {
  switch (severity) {
    case Severity::note:
      return "note";
    case Severity::warning:
      return "warning";
    case Severity::error:
      return "error";
  }
  return "note";
}

}  // namespace

std::string printedFindings(std::string_view fileName, std::vector<Finding> findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& left, const Finding& right) { return left.line < right.line; });
  std::string printed;
  for (const Finding& finding : findings) {
    printed.append(fileName);
    if (finding.line > 0) printed.append(":").append(std::to_string(finding.line));
    printed.append(": ").append(nameOf(finding.severity)).append(": ").append(finding.text).append("\n");
  }
  return printed;
}

int exitStatusOf(const std::vector<Finding>& findings) {
  Severity worst = Severity::note;
  for (const Finding& finding : findings) worst = std::max(worst, finding.severity);
  switch (worst) {
    case Severity::note:
      return 0;
    case Severity::warning:
      return 1;
    case Severity::error:
      return 2;
  }
  return 2;
}

}  // namespace check
