#pragma once
// `kelvary-cli history` as text: a line per database and user, then the
// latest finished runs, oldest first.
#include "status/calc_history.h"

namespace kelvary::cli {

void PrintHistoryText(const CalcHistory& history);

}  // namespace kelvary::cli
