#pragma once
// Which calculations have finished since the window's last check: what a
// user who leaves the automatic re-check on is waiting to hear.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "status/calc_changes.h"
#include "status/check_driver.h"
#include "status/scan_state.h"

namespace kelvary {

class FinishWatch {
 public:
  // After each check of the window: the calculations the previous check
  // listed and this one does not, one text each ("BASIC in SAMPLE finished
  // after 12 min", or "... is no longer running" when the log shows no
  // finish), when `watching` (the automatic re-check is on). A check that
  // reports notes what it lists; a first check, or one of another server or
  // application, only notes. A check that fails, is refused or refuses the
  // name forgets what was seen; one that did not run changes nothing.
  std::vector<std::string> AfterCheck(CheckOutcome outcome, std::string_view server,
                                      std::string_view application, const ScanState& state,
                                      bool watching);

 private:
  std::optional<std::string> server_;  // nothing seen when empty
  std::string application_;
  std::vector<ListedCalc> seen_;
};

}  // namespace kelvary
