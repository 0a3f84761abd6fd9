// kelvary-cli: the status check and the server store, without a window.
#include <CLI/CLI.hpp>

#include "cli/cli_app.h"
#include "cli/exit_codes.h"

int main(int argc, char** argv) {
  using namespace kelvary::cli;
  CLI::App app{"Kelvary: which Essbase calculations are running right now", "kelvary-cli"};
  int exit_code = kExitOk;
  DefineCommandLine(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int printed = app.exit(error);
    return printed == 0 ? kExitOk : kExitUsage;
  }
  return exit_code;
}
