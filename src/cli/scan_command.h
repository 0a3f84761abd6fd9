#pragma once
#include <functional>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "status/scan_state.h"

namespace kelvary::cli {

// `kelvary-cli scan --app APP [--detail] [--estimates] [--json] LOGFILE`:
// the report of one log.
void AddScanCommand(CLI::App& app, int& exit_code);

// Prints what a scan found; `application` is the upper-cased name.
using ScanPrinter = std::function<void(const ScanState& state, std::string_view application)>;

// Scans one log file and prints what it found (up to a read error, if one
// comes). Returns the exit code.
int ScanLogFile(std::string_view application, const std::string& log_path, const ScanPrinter& print);

}  // namespace kelvary::cli
