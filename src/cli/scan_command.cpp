#include "cli/scan_command.h"

#include <cstdio>
#include <memory>

#include "base/path_text.h"
#include "cli/console_sink.h"
#include "cli/exit_codes.h"
#include "status/log_scanner.h"

namespace kelvary::cli {
namespace {

struct ScanOptions {
  std::string application;
  std::string log_path;
  bool detail = false;
};

int RunScan(const ScanOptions& options) {
  // The argument comes in the system code page.
  const OpenedLog opened = OpenLogForReading(PathFromSystemText(options.log_path));
  if (!opened.source) {
    std::fprintf(stderr, "kelvary-cli: cannot open %s: %s\n", options.log_path.c_str(), opened.error.c_str());
    return kExitUnreadable;
  }
  const CaseMap& cases = SystemCaseMap();
  const std::string application = cases.Upper(options.application);
  ScanState state;
  const ScanResult result = ScanLog(state, *opened.source, ScanInputs{application, cases, nullptr});
  ConsoleSink sink;
  WriteReport(state, options.detail, sink);
  if (result == ScanResult::ReadError) {
    std::fprintf(stderr, "kelvary-cli: reading %s failed; the report shows the log up to there\n",
                 options.log_path.c_str());
    return kExitUnreadable;
  }
  return kExitOk;
}

}  // namespace

void AddScanCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<ScanOptions>();
  CLI::App* scan = app.add_subcommand("scan", "List the calculations running in one application log");
  scan->add_option("--app", options->application, "Application name (upper-cased, as a check does)")
      ->required();
  scan->add_flag("--detail", options->detail, "Show one line per completion notice");
  scan->add_option("LOGFILE", options->log_path, "The application's log file")->required();
  scan->callback([options, &exit_code] { exit_code = RunScan(*options); });
}

}  // namespace kelvary::cli
