#include "status/finish_watch.h"

#include "status/calc_estimate.h"

namespace kelvary {
namespace {

constexpr std::string_view kIn = " in ";
constexpr std::string_view kFinished = " finished";
constexpr std::string_view kAfter = " after ";
constexpr std::string_view kNoLongerRunning = " is no longer running";

std::string EndedText(const CalcChange& change, std::string_view application) {
  std::string text = change.calc.database;
  text += kIn;
  text += application;
  if (change.kind == CalcChangeKind::Gone) return text += kNoLongerRunning;
  text += kFinished;
  if (change.elapsed_seconds) {
    text += kAfter;
    text += DurationText(*change.elapsed_seconds);
  }
  return text;
}

}  // namespace

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
  std::vector<std::string> ended;
  const bool same_query = server_ && *server_ == server && application_ == application;
  if (same_query && watching) {
    for (const CalcChange& change : ChangesBetween(seen_, state)) {
      if (change.kind == CalcChangeKind::Finished || change.kind == CalcChangeKind::Gone) {
        ended.push_back(EndedText(change, application));
      }
    }
  }
  server_ = std::string(server);
  application_ = std::string(application);
  seen_ = ListedCalcs(state);
  return ended;
}

}  // namespace kelvary
