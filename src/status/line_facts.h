#pragma once
// What a line's text says to the scan: which message it begins with,
// whether it holds the notice-interval text, and when its header says it
// was written. Read once, where the line is found (on a helper thread, as
// the log is searched), so that the line's tests need not read it again.
#include <cstdint>
#include <optional>
#include <string_view>

#include "status/log_stamp.h"

namespace kelvary {

enum class LineStart : std::uint8_t { None, CalculationStarted, CompletionNotice, CalculationFinished, ServerStarted };

struct LineFacts {
  LineStart start = LineStart::None;
  bool holds_interval = false;
  std::optional<LogSeconds> header_stamp;  // nothing when unreadable
};

// "Calculating in parallel ..." starts no calculation.
LineStart LineStartOf(std::string_view line);
std::optional<LogSeconds> HeaderStampOf(std::string_view header);
// The facts of a whole line, its header's stamp with them.
LineFacts FactsOf(std::string_view header, std::string_view line);

// Whether the scan acts on the line at all.
inline bool MattersToScan(const LineFacts& facts) { return facts.start != LineStart::None || facts.holds_interval; }

}  // namespace kelvary
