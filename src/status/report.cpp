#include "status/report.h"

#include <string>

namespace kelvary {
namespace {

constexpr std::string_view kNothingRunning = "No calcs are currently processing";
constexpr std::string_view kDetailPrefix = "  >> ";
constexpr std::string_view kDetailSeparator = "\r\n";

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string SummaryLine(const CalcPlace& place) {
  std::string line = place.Database;
  line += " (";
  line += std::to_string(place.NoticesDone);
  line += " out of ";
  line += std::to_string(place.NoticesTotal);
  line += ") - Started at ";
  line += TrimBlanks(place.StartTime);
  line += " by ";
  line += TrimBlanks(place.StartedBy);
  return line;
}

void AppendDetailLines(std::string_view detail, ReportSink& sink) {
  if (detail.empty()) return;
  std::string line;
  for (std::size_t begin = 0;;) {
    const std::size_t end = detail.find(kDetailSeparator, begin);
    line.assign(kDetailPrefix);
    line += detail.substr(begin, end - begin);
    sink.AppendLine(line);
    if (end == std::string_view::npos) return;
    begin = end + kDetailSeparator.size();
  }
}

}  // namespace

void WriteReport(const ScanState& state, bool show_detail, ReportSink& sink) {
  sink.ClearLines();
  if (state.intCalcCount == 0) {
    sink.AppendLine(kNothingRunning);
    return;
  }
  for (int k = 0; k < state.intCalcCount; ++k) {
    const CalcPlace& place = state.arrCalcs[k];
    sink.AppendLine(SummaryLine(place));
    if (show_detail) AppendDetailLines(place.Detail, sink);
  }
}

}  // namespace kelvary
