#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli scan --app APP [--detail] LOGFILE`: the report of one log.
void AddScanCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
