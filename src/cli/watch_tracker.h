#pragma once
// What `kelvary-cli watch` prints after each check: one line per change
// since the check before, led by the watcher's own time. The first check
// that reports lists what is running; after that only changes are told.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/calc_changes.h"
#include "status/scan_state.h"

namespace kelvary::cli {

class WatchTracker {
 public:
  // `json`: one JSON object a line, for log shippers, instead of text.
  // `named`: each text line names its application (several are watched).
  explicit WatchTracker(bool json, bool named = false) : json_(json), named_(named) {}

  // `now` is the watcher's local time, "2026-12-07T06:30:00"; `state` is
  // the check's when it reported (exit code 0), else null.
  std::vector<std::string> AfterCheck(std::string_view now, int exit_code, const ScanState* state,
                                      std::string_view application);

  // The last check reported, and nothing was running.
  bool NothingRunning() const { return nothing_running_; }

 private:
  std::string Line(std::string_view now, std::string_view event, std::string_view text,
                   std::string_view application, const CalcChange* change, std::string_view reason) const;

  bool json_;
  bool named_;
  std::optional<std::vector<ListedCalc>> seen_;  // none before the first report
  std::optional<std::string> failing_;           // why the checks fail, while they do
  bool nothing_running_ = false;
};

}  // namespace kelvary::cli
