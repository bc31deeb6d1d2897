#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "check/CheckArguments.h"
#include "check/FindingPrinter.h"
#include "check/NextStarts.h"
#include "check/ProgramVersion.h"
#include "check/ScheduleCheck.h"
#include "check/SystemZone.h"
#include "platform/Console.h"

namespace {

constexpr int usageErrorStatus = 64;

int usageError(const std::string& problem) {
  const std::string text = "plandek-check: " + problem + "\n" + std::string(check::checkUsage);
  std::fputs(text.c_str(), stderr);
  return usageErrorStatus;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> programWords = platform::programArguments(argc, argv);
  const std::vector<std::string_view> words(programWords.begin(), programWords.end());
  const check::ArgumentsReading reading = check::readArguments(words);
  if (!reading.arguments) return usageError(reading.usageError);
  const check::CheckArguments& arguments = *reading.arguments;
  if (arguments.help) {
    platform::writeConsole(check::checkUsage);
    return 0;
  }
  if (arguments.version) {
    platform::writeConsole("plandek-check " + std::string(check::programVersion()) + "\n");
    return 0;
  }
  const check::SystemZone zone;
  auto from = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  if (!arguments.from.empty()) {
    const auto instant = check::instantOfLocal(arguments.from, zone);
    if (!check::localMinuteOfText(arguments.from)) {
      return usageError("--from takes a local time \"YYYY-MM-DD HH:MM\", not " + arguments.from);
    }
    // A summer-time gap, or a zone that cannot tell the time then.
    if (!instant) return usageError("--from " + arguments.from + " is no local time here: the clocks skip it");
    from = *instant;
  }
  const check::CheckSettings settings{.from = from,
                                      .nextStartCount = arguments.nextStartCount,
                                      .zone = zone,
                                      .system = check::SystemAnswers::ofThisSystem()};
  const std::vector<check::Finding> findings = check::checkScheduleFile(arguments.fileName, settings);
  platform::writeConsole(check::printedFindings(arguments.fileName, findings));
  return check::exitStatusOf(findings);
}
