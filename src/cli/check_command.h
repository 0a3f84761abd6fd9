#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli check --server NAME --app APP [--detail]`: one status check
// of a stored server, as the window's "Check Calculation" runs it.
void AddCheckCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
