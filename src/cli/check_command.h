#pragma once
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "cli/scan_command.h"
#include "status/report.h"

namespace kelvary::cli {

// `kelvary-cli check --server NAME --app APP [--detail] [--estimates]
// [--json]`: one status check of a stored server, as the window's "Check
// Calculation" runs it.
void AddCheckCommand(CLI::App& app, int& exit_code);

struct CheckRequest {
  std::string server;
  std::string application;
  ReportOptions report;
  // Nothing on standard error, neither progress nor failure: the caller
  // tells the outcome in its own words (watch, monitor).
  bool quiet = false;
};

// One check of a stored server. Without a printer its report lines go to
// standard output, as the window would show them; with one, a report goes
// to the printer and a failure line to standard error. Returns the exit code.
int CheckStoredServer(const CheckRequest& request, const ScanPrinter* print);

// What a check's exit code says went wrong, in a few words ("the server
// refused the login"); empty for success.
std::string_view CheckFailureText(int exit_code);

}  // namespace kelvary::cli
