#include "cli/history_command.h"

#include <memory>
#include <string>

#include "cli/check_command.h"
#include "cli/estimates_json.h"
#include "cli/history_text.h"
#include "cli/scan_command.h"

namespace kelvary::cli {
namespace {

struct HistoryOptions {
  std::string server;
  std::string application;
  std::string log_path;
  bool json = false;
  CLI::Option* server_option = nullptr;
  CLI::Option* log_option = nullptr;
};

int RunHistory(const HistoryOptions& options) {
  const ScanPrinter print = [json = options.json](const ScanState& state, std::string_view) {
    if (json) {
      PrintJson(HistoryJson(state.history));
    } else {
      PrintHistoryText(state.history);
    }
  };
  if (options.server_option->count() > 0) {
    return CheckStoredServer(CheckRequest{options.server, options.application, {}}, &print);
  }
  return ScanLogFile(options.application, options.log_path, print);
}

}  // namespace

void AddHistoryCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<HistoryOptions>();
  CLI::App* history = app.add_subcommand(
      "history", "List the finished calculations of an application's log: LOGFILE, or --server NAME");
  options->server_option =
      history->add_option("--server", options->server, "Read the log of this stored server, as a check does");
  history->add_option("--app", options->application, "Application name (upper-cased, as a check does)")
      ->required();
  history->add_flag("--json", options->json, "Print the history as JSON");
  options->log_option = history->add_option("LOGFILE", options->log_path, "The application's log file");
  options->server_option->excludes(options->log_option);
  history->callback([options, &exit_code] {
    if (options->server_option->count() == 0 && options->log_option->count() == 0) {
      throw CLI::RequiredError("LOGFILE or --server");
    }
    exit_code = RunHistory(*options);
  });
}

}  // namespace kelvary::cli
