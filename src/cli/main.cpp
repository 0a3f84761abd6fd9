// kelvary-cli: the status check and the server store, without a window.
#include <CLI/CLI.hpp>

#include "cli/check_command.h"
#include "cli/exit_codes.h"
#include "cli/scan_command.h"
#include "cli/servers_command.h"
#include "kelvary_version.h"

int main(int argc, char** argv) {
  using namespace kelvary::cli;
  CLI::App app{"Kelvary: which Essbase calculations are running right now", "kelvary-cli"};
  app.set_version_flag("--version", "kelvary-cli " KELVARY_VERSION_TEXT);
  app.require_subcommand(1);
  int exit_code = kExitOk;
  AddScanCommand(app, exit_code);
  AddCheckCommand(app, exit_code);
  AddServersCommand(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int printed = app.exit(error);
    return printed == 0 ? kExitOk : kExitUsage;
  }
  return exit_code;
}
