#include "cli/scan_command.h"

#include <cstdio>
#include <memory>

#include "base/path_text.h"
#include "cli/console_sink.h"
#include "cli/estimates_json.h"
#include "cli/exit_codes.h"
#include "status/log_scanner.h"

namespace kelvary::cli {
namespace {

struct ScanOptions {
  std::string application;
  std::string log_path;
  ReportOptions report;
  bool json = false;
};

void PrintScan(const ScanOptions& options, const ScanState& state, std::string_view application) {
  if (options.json) {
    PrintJson(ScanJson(state, application));
    return;
  }
  ConsoleSink sink;
  WriteReport(state, options.report, sink);
}

}  // namespace

int ScanLogFile(std::string_view application_argument, const std::string& log_path, const ScanPrinter& print) {
  // The argument comes in the system code page.
  const OpenedLog opened = OpenLogForReading(PathFromSystemText(log_path));
  if (!opened.source) {
    std::fprintf(stderr, "kelvary-cli: cannot open %s: %s\n", log_path.c_str(), opened.error.c_str());
    return kExitUnreadable;
  }
  const CaseMap& cases = SystemCaseMap();
  const std::string application = cases.Upper(application_argument);
  ScanState state;
  const ScanResult result = ScanLog(state, *opened.source, ScanInputs{application, cases, nullptr, opened.age_seconds});
  print(state, application);
  if (result == ScanResult::ReadError) {
    std::fprintf(stderr, "kelvary-cli: reading %s failed; the report shows the log up to there\n",
                 log_path.c_str());
    return kExitUnreadable;
  }
  return kExitOk;
}

void AddScanCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<ScanOptions>();
  CLI::App* scan = app.add_subcommand("scan", "List the calculations running in one application log");
  scan->add_option("--app", options->application, "Application name (upper-cased, as a check does)")
      ->required();
  scan->add_flag("--detail", options->report.show_detail, "Show one line per completion notice");
  scan->add_flag("--estimates", options->report.show_estimates,
                 "Show a line with percent done, time running and time left under each calculation");
  scan->add_flag("--json", options->json, "Print the calculations, their estimates and the history as JSON");
  scan->add_option("LOGFILE", options->log_path, "The application's log file")->required();
  scan->callback([options, &exit_code] {
    exit_code = ScanLogFile(options->application, options->log_path,
                            [&](const ScanState& state, std::string_view application) {
                              PrintScan(*options, state, application);
                            });
  });
}

}  // namespace kelvary::cli
