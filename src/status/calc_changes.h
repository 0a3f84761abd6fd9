#pragma once
// What changed between two checks of one application: calculations that
// started, sent notices, finished or went without a finish. A calculation
// is the same from one check to the next when its database, user and start
// are.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "status/scan_state.h"

namespace kelvary {

// One running calculation as a check lists it.
struct ListedCalc {
  std::string database;
  std::string user;
  std::string start_time;  // as the report shows it
  std::optional<LogSeconds> started;
  std::int64_t notices_done = 0;
  std::int16_t notices_total = 0;

  bool SameCalculation(const ListedCalc& other) const;
};

std::vector<ListedCalc> ListedCalcs(const ScanState& state);

enum class CalcChangeKind {
  Started,     // listed now, not before
  Progressed,  // listed both times, with more notices now
  Finished,    // listed before; the log shows its finish
  Gone,        // listed before; gone without a finish (the server restarted, say)
};

struct CalcChange {
  CalcChangeKind kind;
  ListedCalc calc;  // as the later check lists it, or the earlier for Finished and Gone
  std::optional<double> elapsed_seconds;  // Finished: how long it ran, when the log says
};

// Finished and gone calculations first, in the order they were listed
// before; then started and progressed ones in the order they are listed now.
std::vector<CalcChange> ChangesBetween(const std::vector<ListedCalc>& before, const ScanState& now);

}  // namespace kelvary
