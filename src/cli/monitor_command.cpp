#include "cli/monitor_command.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/case_map.h"
#include "cli/all_apps_check.h"
#include "cli/check_command.h"
#include "cli/exit_codes.h"
#include "cli/duration_option.h"
#include "cli/monitor_status.h"

namespace kelvary::cli {
namespace {

constexpr std::string_view kNotADuration = "is not a duration such as 90s, 30m or 2h: ";

struct MonitorOptions {
  CheckRequest request;
  std::string warn_after;
  std::string crit_after;
  bool all_apps = false;
};

// A threshold left out is none; one that cannot be read makes the status
// unknown, as the plugin conventions want for any misuse they can report.
bool ReadThreshold(const std::string& text, std::string_view option, std::optional<std::int64_t>& seconds,
                   std::string& why) {
  if (text.empty()) return true;
  seconds = ParseDuration(text);
  if (!seconds) why = std::string(option) + " " + std::string(kNotADuration) + text;
  return seconds.has_value();
}

MonitorStatus Monitor(MonitorOptions options) {
  const std::string application = SystemCaseMap().Upper(options.request.application);
  MonitorThresholds thresholds;
  std::string why;
  if (!ReadThreshold(options.warn_after, "--warn-after", thresholds.warn_after, why) ||
      !ReadThreshold(options.crit_after, "--crit-after", thresholds.crit_after, why)) {
    return UnknownStatus(application, why);
  }
  if (options.all_apps) {
    const ServerApplications scanned = ScanServerApplications(options.request.server);
    if (scanned.exit_code != kExitOk) return UnknownStatus(options.request.server, scanned.why);
    return StatusOfServer(scanned.all, options.request.server, thresholds);
  }
  std::optional<MonitorStatus> status;
  const ScanPrinter judge = [&](const ScanState& state, std::string_view checked) {
    status = StatusOfCheck(state, checked, thresholds);
  };
  options.request.quiet = true;
  const int code = CheckStoredServer(options.request, &judge);
  if (code != 0 || !status) return UnknownStatus(application, CheckFailureText(code));
  return *status;
}

}  // namespace

void AddMonitorCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<MonitorOptions>();
  CLI::App* monitor = app.add_subcommand(
      "monitor", "Check once and answer as a monitoring plugin: exit 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN");
  monitor->add_option("--server", options->request.server, "The server's name in the store")->required();
  CLI::Option* application = monitor->add_option("--app", options->request.application, "Application name");
  monitor->add_flag("--all-apps", options->all_apps, "Every application of a server reached by path at once")
      ->excludes(application);
  monitor->add_option("--warn-after", options->warn_after,
                      "WARNING once a calculation has run this long (90s, 30m, 2h)");
  monitor->add_option("--crit-after", options->crit_after, "CRITICAL once a calculation has run this long");
  monitor->callback([options, application, &exit_code] {
    if (!options->all_apps && application->count() == 0) throw CLI::RequiredError("--app or --all-apps");
    const MonitorStatus status = Monitor(*options);
    std::printf("%s\n", status.line.c_str());
    exit_code = status.exit_code;
  });
}

}  // namespace kelvary::cli
