#include "status/scan_state.h"

namespace kelvary {

void ScanState::EmptyTable() {
  arrCalcs.fill(CalcPlace{});
  intCalcCount = 0;
}

}  // namespace kelvary
