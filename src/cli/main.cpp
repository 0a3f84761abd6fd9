// kelvary-cli: the status check and the server store, without a window.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/check_command.h"
#include "cli/exit_codes.h"
#include "cli/scan_command.h"
#include "cli/servers_command.h"
#include "kelvary_version.h"
#include "status/essbase_library.h"

namespace {

// A full disk or a closed pipe must not pass for a complete report.
bool OutputWritten() {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "kelvary-cli: standard output could not be written: %s\n", std::strerror(errno));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvary::cli;
  kelvary::KeepCurrentFolderOutOfLibrarySearch();
#ifndef _WIN32
  // A closed pipe then fails the write, which is reported, instead of
  // ending the program silently.
  std::signal(SIGPIPE, SIG_IGN);
#endif
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
    if (!OutputWritten()) return kExitOutputFailed;
    return printed == 0 ? kExitOk : kExitUsage;
  }
  return OutputWritten() ? exit_code : kExitOutputFailed;
}
