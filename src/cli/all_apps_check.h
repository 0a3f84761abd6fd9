#pragma once
#include <string>

#include "status/all_apps_scan.h"
#include "status/report.h"

namespace kelvary::cli {

// Every application of a stored server reached by path, scanned on all
// cores. When they cannot be had, an exit code and why, in a few words.
struct ServerApplications {
  AllApplications all;
  int exit_code = 0;
  std::string why;
};
ServerApplications ScanServerApplications(const std::string& server);

// `kelvary-cli check --server NAME --all-apps [--detail] [--estimates]
// [--json]`: every application of a server reached by path, in one report
// with the application's name before each line. Returns the exit code.
int CheckAllApplications(const std::string& server, const ReportOptions& report, bool json);

}  // namespace kelvary::cli
