#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli watch --server NAME --app APP [--interval SECONDS]
// [--until-done] [--json]`: checks again and again and prints what changed.
void AddWatchCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
