#include "status/calc_changes.h"

#include <algorithm>

namespace kelvary {
namespace {

// Its run in the log's history, when the log shows it finished.
std::optional<FinishedRun> RunOf(const ListedCalc& calc, const ScanState& state) {
  for (const FinishedRun& run : state.history.LatestRuns()) {
    if (run.database == calc.database && run.user == calc.user && run.started == calc.started) return run;
  }
  return std::nullopt;
}

const ListedCalc* Find(const std::vector<ListedCalc>& calcs, const ListedCalc& calc) {
  const auto found = std::find_if(calcs.begin(), calcs.end(),
                                  [&](const ListedCalc& other) { return other.SameCalculation(calc); });
  return found == calcs.end() ? nullptr : &*found;
}

}  // namespace

bool ListedCalc::SameCalculation(const ListedCalc& other) const {
  return database == other.database && user == other.user && start_time == other.start_time &&
         started == other.started;
}

std::vector<ListedCalc> ListedCalcs(const ScanState& state) {
  std::vector<ListedCalc> listed;
  for (int k = 0; k < state.intCalcCount; ++k) {
    const CalcPlace& place = state.arrCalcs[k];
    listed.push_back({place.Database, place.StartedBy, place.StartTime, place.StartedAt, place.NoticesDone,
                      place.NoticesTotal});
  }
  return listed;
}

std::vector<CalcChange> ChangesBetween(const std::vector<ListedCalc>& before, const ScanState& now) {
  const std::vector<ListedCalc> listed = ListedCalcs(now);
  std::vector<CalcChange> changes;
  for (const ListedCalc& calc : before) {
    if (Find(listed, calc)) continue;
    if (const std::optional<FinishedRun> run = RunOf(calc, now)) {
      changes.push_back({CalcChangeKind::Finished, calc, run->elapsed_seconds});
    } else {
      changes.push_back({CalcChangeKind::Gone, calc, std::nullopt});
    }
  }
  for (const ListedCalc& calc : listed) {
    const ListedCalc* earlier = Find(before, calc);
    if (!earlier) {
      changes.push_back({CalcChangeKind::Started, calc, std::nullopt});
    } else if (calc.notices_done > earlier->notices_done) {
      changes.push_back({CalcChangeKind::Progressed, calc, std::nullopt});
    }
  }
  return changes;
}

}  // namespace kelvary
