#pragma once
// The status line and exit code of `kelvary-cli monitor`, as monitoring
// systems (Nagios, Icinga and the agents that follow them) read a plugin:
// 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN, one line with performance data
// after a '|'.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "status/all_apps_scan.h"
#include "status/scan_state.h"

namespace kelvary::cli {

inline constexpr int kPluginOk = 0;
inline constexpr int kPluginWarning = 1;
inline constexpr int kPluginCritical = 2;
inline constexpr int kPluginUnknown = 3;

struct MonitorThresholds {
  std::optional<std::int64_t> warn_after;  // seconds a calculation may run before a warning
  std::optional<std::int64_t> crit_after;
};

struct MonitorStatus {
  int exit_code;
  std::string line;
};

// From a check that reported: how many calculations run and how long the
// longest has run (start to the log's latest stamp), against the thresholds.
// "KELVARY OK - 2 calculations running in SAMPLE, longest 12 min |
// running=2 longest=734s;1800;7200"
MonitorStatus StatusOfCheck(const ScanState& state, std::string_view application,
                            const MonitorThresholds& thresholds);

// From every application of a server at once ("... running in 2
// applications of Demo, ..."); applications without a log count for none.
MonitorStatus StatusOfServer(const AllApplications& all, std::string_view server,
                             const MonitorThresholds& thresholds);

// From a check that could not report: "KELVARY UNKNOWN - SAMPLE: the server
// refused the login".
MonitorStatus UnknownStatus(std::string_view application, std::string_view why);

}  // namespace kelvary::cli
