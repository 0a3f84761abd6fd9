#pragma once
#include <CLI/CLI.hpp>

namespace kelvary::cli {

// `kelvary-cli servers list|show|add|remove`: the server store without the
// window's dialogs.
void AddServersCommand(CLI::App& app, int& exit_code);

}  // namespace kelvary::cli
