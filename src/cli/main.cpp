// kelvary-cli: the status check and the server store, without a window.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/cli_app.h"
#include "cli/exit_codes.h"
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
  int exit_code = kExitOk;
  DefineCommandLine(app, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int printed = app.exit(error);
    if (!OutputWritten()) return kExitOutputFailed;
    return printed == 0 ? kExitOk : kExitUsage;
  }
  return OutputWritten() ? exit_code : kExitOutputFailed;
}
