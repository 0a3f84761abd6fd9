#include "cli/history_text.h"

#include <cstdio>
#include <string>

#include "status/calc_estimate.h"

namespace kelvary::cli {
namespace {

constexpr std::string_view kNoRuns = "No finished calculations in this log";
constexpr std::string_view kLatestRuns = "Latest finished runs, oldest first:";
constexpr std::string_view kUnknown = "unknown";

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

// "2003-01-08 14:05:09": the ISO form with a blank, easier on the eye.
std::string TimeText(const std::optional<LogSeconds>& at) {
  if (!at) return std::string(kUnknown);
  std::string text = IsoDateTime(*at);
  text[text.find('T')] = ' ';
  return text;
}

std::string SecondsText(const std::optional<double>& seconds) {
  return seconds ? DurationText(*seconds) : std::string(kUnknown);
}

std::string Pair(const std::string& database, const std::string& user) { return database + " by " + user; }

}  // namespace

void PrintHistoryText(const CalcHistory& history) {
  const std::vector<RunSummary> summaries = history.Summaries();
  if (summaries.empty()) {
    PrintLine(std::string(kNoRuns));
    return;
  }
  for (const RunSummary& s : summaries) {
    PrintLine(Pair(s.database, s.user) + ": " + std::to_string(s.runs) + (s.runs == 1 ? " run" : " runs") +
              ", median " + SecondsText(s.median_seconds) + ", longest " + SecondsText(s.longest_seconds) +
              ", latest finished " + TimeText(s.latest_finished));
  }
  PrintLine(std::string(kLatestRuns));
  for (const FinishedRun& run : history.LatestRuns()) {
    PrintLine("  " + Pair(run.database, run.user) + ": " + TimeText(run.started) + " to " + TimeText(run.finished) +
              ", " + SecondsText(run.elapsed_seconds));
  }
}

}  // namespace kelvary::cli
