#pragma once
// How far a running calculation has got and when it will be done: the one
// place where these figures are worked out. The report's estimate line,
// kelvary-cli's JSON and the window all show what EstimateOf returns.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "status/calc_history.h"
#include "status/log_stamp.h"
#include "status/scan_state.h"

namespace kelvary {

enum class EstimateBasis {
  None,     // nothing to go by, or a stamp that cannot be read
  Notices,  // the rate of its own completion notices
  History,  // the median of earlier finished runs of its database and user
};

struct CalcEstimate {
  std::optional<int> percent;  // notices done of the total, 0 to 100
  std::optional<std::int64_t> elapsed_seconds;  // start to the log's latest stamp, and that entry's age
  std::optional<LogSeconds> estimated_finish;
  std::optional<std::int64_t> estimated_seconds_left;  // from the latest stamp and its age
  EstimateBasis basis = EstimateBasis::None;
};

// Percent done when the total is known and not exceeded. Estimated from
// notices once one has come with a readable stamp and the total is known;
// otherwise from the median of earlier runs of the same database and user;
// otherwise none. Every figure rests on the start's stamp; without it
// (unreadable) nothing but the percentage is given. The age of the log's
// latest entry, where it is known, is time the calculation has run since.
CalcEstimate EstimateOf(const CalcPlace& place, const CalcHistory& history, std::optional<LogSeconds> latest_stamp,
                        std::optional<std::int64_t> latest_entry_age_seconds);

// "~ 40%, running 12 min, about 18 min left (from its notices)"
std::string EstimateText(const CalcEstimate& estimate);

// "45 s", "12 min", "2 h 05 min".
std::string DurationText(double seconds);

// "notices", "history", or empty for none: the JSON's names of the bases.
std::string_view BasisName(EstimateBasis basis);

}  // namespace kelvary
