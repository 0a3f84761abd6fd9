#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli monitor --server NAME --app APP [--warn-after DURATION]
// [--crit-after DURATION]`: one check, told as a monitoring plugin tells it.
void AddMonitorCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
