#include "cli/monitor_status.h"

#include <algorithm>

#include "status/calc_estimate.h"

namespace kelvary::cli {
namespace {

constexpr std::string_view kPrefix = "KELVARY ";
constexpr std::string_view kStateNames[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};
constexpr std::string_view kSeparator = " - ";

std::string Head(int exit_code) {
  std::string head(kPrefix);
  head += kStateNames[exit_code];
  head += kSeparator;
  return head;
}

std::string Threshold(const std::optional<std::int64_t>& seconds) {
  return seconds ? std::to_string(*seconds) : std::string();
}

// How many run and how long the longest has run; the longest is unknown
// when no running calculation has readable stamps.
struct Figures {
  int running = 0;
  std::optional<std::int64_t> longest;

  void Add(const ScanState& state) {
    running += state.intCalcCount;
    // From the start to the log's latest stamp, as the monitor has always
    // measured: how long the log has been quiet since does not count.
    for (int k = 0; k < state.intCalcCount; ++k) {
      const CalcEstimate estimate = EstimateOf(state.arrCalcs[k], state.history, state.latest_stamp, std::nullopt);
      if (estimate.elapsed_seconds) longest = std::max(longest.value_or(0), *estimate.elapsed_seconds);
    }
  }
};

int StateOf(const std::optional<std::int64_t>& longest, const MonitorThresholds& thresholds) {
  if (!longest) return kPluginOk;
  if (thresholds.crit_after && *longest >= *thresholds.crit_after) return kPluginCritical;
  if (thresholds.warn_after && *longest >= *thresholds.warn_after) return kPluginWarning;
  return kPluginOk;
}


MonitorStatus StatusOf(const Figures& figures, std::string_view where, const MonitorThresholds& thresholds) {
  const int running = figures.running;
  const std::optional<std::int64_t>& longest = figures.longest;
  const int exit_code = StateOf(longest, thresholds);
  std::string line = Head(exit_code);
  if (running == 0) {
    line += "no calculations running in ";
    line += where;
  } else {
    line += std::to_string(running);
    line += running == 1 ? " calculation running in " : " calculations running in ";
    line += where;
    line += ", longest ";
    line += longest ? DurationText(static_cast<double>(*longest)) : std::string("unknown");
  }
  // "U" is the performance data's word for a value that cannot be had.
  line += " | running=";
  line += std::to_string(running);
  line += " longest=";
  line += running == 0 ? std::string("0s") : longest ? std::to_string(*longest) + "s" : std::string("U");
  if (thresholds.warn_after || thresholds.crit_after) {
    line += ';';
    line += Threshold(thresholds.warn_after);
    line += ';';
    line += Threshold(thresholds.crit_after);
  }
  return {exit_code, line};
}

}  // namespace

MonitorStatus StatusOfCheck(const ScanState& state, std::string_view application,
                            const MonitorThresholds& thresholds) {
  Figures figures;
  figures.Add(state);
  return StatusOf(figures, application, thresholds);
}

MonitorStatus StatusOfServer(const AllApplications& all, std::string_view server,
                             const MonitorThresholds& thresholds) {
  Figures figures;
  int with_log = 0;
  for (const ApplicationScan& scan : all.applications) {
    if (!scan.log_found) continue;
    ++with_log;
    figures.Add(scan.state);
  }
  std::string where = std::to_string(with_log);
  where += with_log == 1 ? " application of " : " applications of ";
  where += server;
  return StatusOf(figures, where, thresholds);
}

MonitorStatus UnknownStatus(std::string_view application, std::string_view why) {
  std::string line = Head(kPluginUnknown);
  line += application;
  line += ": ";
  line += why;
  return {kPluginUnknown, line};
}

}  // namespace kelvary::cli
