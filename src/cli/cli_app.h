#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// kelvary-cli's whole command line: its subcommands, their options and the
// version flag. Each subcommand's callback sets `exit_code` once it has run.
void DefineCommandLine(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
