#pragma once
// The report of a scan: one line per running calculation, optionally with
// its detail lines, or "No calcs are currently processing".
#include <cstddef>
#include <string_view>

#include "status/scan_state.h"

namespace kelvary {

// Where report lines go: the window's list, or standard output.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void ClearLines() = 0;
  virtual void AppendLine(std::string_view line) = 0;
  // Around a whole report: how many lines and text bytes are coming, then
  // that they have come. A window shows the report in one go with these
  // rather than repaint after every line.
  virtual void BeginReport(std::size_t /*lines*/, std::size_t /*bytes*/) {}
  virtual void EndReport() {}
};

struct ReportOptions {
  bool show_detail = false;     // one line per completion notice
  bool show_estimates = false;  // one estimate line under each calculation's line
};

void WriteReport(const ScanState& state, const ReportOptions& options, ReportSink& sink);
void WriteReport(const ScanState& state, bool show_detail, ReportSink& sink);

}  // namespace kelvary
