#include "cli/cli_app.h"

#include "cli/check_command.h"
#include "cli/history_command.h"
#include "cli/monitor_command.h"
#include "cli/scan_command.h"
#include "cli/servers_command.h"
#include "cli/watch_command.h"
#include "kelvary_version.h"

namespace kelvary::cli {

void DefineCommandLine(CLI::App& app, int& exit_code) {
  app.set_version_flag("--version", "kelvary-cli " KELVARY_VERSION_TEXT);
  app.require_subcommand(1);
  AddScanCommand(app, exit_code);
  AddCheckCommand(app, exit_code);
  AddHistoryCommand(app, exit_code);
  AddMonitorCommand(app, exit_code);
  AddWatchCommand(app, exit_code);
  AddServersCommand(app, exit_code);
}

}  // namespace kelvary::cli
