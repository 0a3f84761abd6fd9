#include "status/report.h"

#include <string>

#include "status/calc_estimate.h"

namespace kelvary {
namespace {

constexpr std::string_view kNothingRunning = "No calcs are currently processing";
constexpr std::string_view kDetailPrefix = "  >> ";
constexpr std::string_view kDetailSeparator = "\r\n";
constexpr std::string_view kEstimatePrefix = "  ";

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

std::string EstimateLine(const ScanState& state, const CalcPlace& place) {
  const CalcEstimate estimate = EstimateOf(place, state.history, state.latest_stamp, state.latest_entry_age_seconds);
  return std::string(kEstimatePrefix) + EstimateText(estimate);
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

// The lines and bytes the report will hold, for the sink to make room.
struct ReportSize {
  std::size_t lines = 0;
  std::size_t bytes = 0;
};

ReportSize SizeOf(const ScanState& state, const ReportOptions& options) {
  ReportSize size;
  for (int k = 0; k < state.intCalcCount; ++k) {
    const CalcPlace& place = state.arrCalcs[k];
    ++size.lines;
    size.bytes += SummaryLine(place).size();
    if (options.show_estimates) {
      ++size.lines;
      size.bytes += EstimateLine(state, place).size();
    }
    if (!options.show_detail || place.Detail.empty()) continue;
    std::size_t entries = 1;
    for (std::size_t at = place.Detail.find(kDetailSeparator); at != std::string::npos;
         at = place.Detail.find(kDetailSeparator, at + kDetailSeparator.size())) {
      ++entries;
    }
    size.lines += entries;
    // Each separator gives way to a line's prefix.
    size.bytes += place.Detail.size() - (entries - 1) * kDetailSeparator.size() +
                  entries * kDetailPrefix.size();
  }
  if (size.lines == 0) size = {1, kNothingRunning.size()};
  return size;
}

}  // namespace

void WriteReport(const ScanState& state, const ReportOptions& options, ReportSink& sink) {
  const ReportSize size = SizeOf(state, options);
  sink.ClearLines();  // before the room is made: clearing would give it back
  sink.BeginReport(size.lines, size.bytes);
  if (state.intCalcCount == 0) sink.AppendLine(kNothingRunning);
  for (int k = 0; k < state.intCalcCount; ++k) {
    const CalcPlace& place = state.arrCalcs[k];
    sink.AppendLine(SummaryLine(place));
    if (options.show_estimates) sink.AppendLine(EstimateLine(state, place));
    if (options.show_detail) AppendDetailLines(place.Detail, sink);
  }
  sink.EndReport();
}

void WriteReport(const ScanState& state, bool show_detail, ReportSink& sink) {
  WriteReport(state, ReportOptions{show_detail, false}, sink);
}

}  // namespace kelvary
