#pragma once
// The JSON of `--json`: what a scan found, in a shape that scripts rely on.
// Times are ISO 8601 local date-times of the log's own clock, durations are
// seconds, and what is not known is null.
#include <string_view>

#include <nlohmann/json.hpp>

#include "status/scan_state.h"

namespace kelvary::cli {

// {"application", "latest_stamp", "running": [...], "history": {...}}
nlohmann::ordered_json ScanJson(const ScanState& state, std::string_view application);

// {"runs": [...], "summary": [...]}
nlohmann::ordered_json HistoryJson(const CalcHistory& history);

// Indented by two, one newline after; bytes that are not UTF-8 become U+FFFD.
void PrintJson(const nlohmann::ordered_json& json);

}  // namespace kelvary::cli
