#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli history --app APP [--json] LOGFILE` and
// `kelvary-cli history --server NAME --app APP [--json]`: the finished
// calculations of an application's log, per database and user and the
// latest runs.
void AddHistoryCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
