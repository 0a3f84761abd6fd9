#include "status/finish_watch.h"

#include <algorithm>

#include "status/calc_estimate.h"

namespace kelvary {
namespace {

constexpr std::string_view kIn = " in ";
constexpr std::string_view kFinished = " finished";
constexpr std::string_view kAfter = " after ";
// Gone from the list without a finish in the log: the server restarted, say.
constexpr std::string_view kNoLongerRunning = " is no longer running";

}  // namespace

std::optional<FinishedRun> FinishWatch::RunOf(const Seen& calc, const ScanState& state) {
  for (const FinishedRun& run : state.history.LatestRuns()) {
    if (run.database == calc.database && run.user == calc.user && run.started == calc.started) return run;
  }
  return std::nullopt;
}

std::vector<FinishWatch::Seen> FinishWatch::Listed(const ScanState& state) {
  std::vector<Seen> listed;
  for (int k = 0; k < state.intCalcCount; ++k) {
    const CalcPlace& place = state.arrCalcs[k];
    listed.push_back({place.Database, place.StartedBy, place.StartTime, place.StartedAt});
  }
  return listed;
}

std::string FinishWatch::FinishedText(const Seen& calc, std::string_view application,
                                      const ScanState& state) {
  std::string text = calc.database;
  text += kIn;
  text += application;
  const std::optional<FinishedRun> run = RunOf(calc, state);
  if (!run) return text += kNoLongerRunning;
  text += kFinished;
  if (run->elapsed_seconds) {
    text += kAfter;
    text += DurationText(*run->elapsed_seconds);
  }
  return text;
}

std::vector<std::string> FinishWatch::AfterCheck(CheckOutcome outcome, std::string_view server,
                                                 std::string_view application, const ScanState& state,
                                                 bool watching) {
  switch (outcome) {
    case CheckOutcome::Reported:
      break;
    case CheckOutcome::NameRefused:
    case CheckOutcome::Failed:
    case CheckOutcome::LoginRefused:
      server_.reset();
      seen_.clear();
      return {};
    case CheckOutcome::Skipped:
    case CheckOutcome::Abandoned:
      return {};
  }
  std::vector<Seen> listed = Listed(state);
  std::vector<std::string> finished;
  const bool same_query = server_ && *server_ == server && application_ == application;
  if (same_query && watching) {
    for (const Seen& calc : seen_) {
      if (std::find(listed.begin(), listed.end(), calc) == listed.end()) {
        finished.push_back(FinishedText(calc, application, state));
      }
    }
  }
  server_ = std::string(server);
  application_ = std::string(application);
  seen_ = std::move(listed);
  return finished;
}

}  // namespace kelvary
