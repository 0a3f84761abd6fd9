#pragma once
// The report of a scan: one line per running calculation, optionally with
// its detail lines, or "No calcs are currently processing".
#include <string_view>

#include "status/scan_state.h"

namespace kelvary {

// Where report lines go: the window's list, or standard output.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void ClearLines() = 0;
  virtual void AppendLine(std::string_view line) = 0;
};

void WriteReport(const ScanState& state, bool show_detail, ReportSink& sink);

}  // namespace kelvary
