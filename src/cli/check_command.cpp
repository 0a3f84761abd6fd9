#include "cli/check_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/all_apps_check.h"
#include "cli/console_sink.h"
#include "cli/estimates_json.h"
#include "cli/exit_codes.h"
#include "servers/registry_store.h"
#include "status/check_driver.h"
#include "status/executable_directory.h"
#include "status/per_user_folder.h"

namespace kelvary::cli {
namespace {

struct CheckOptions {
  CheckRequest request;
  bool json = false;
  bool all_apps = false;
};

void PrintToStderr(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

// The window seen from a console: the list is kept until the check ends and
// then printed; progress lines and message boxes go to stderr as they come.
// There are no buttons to disable and no timer to stop.
class ConsoleCheckView final : public CheckView {
 public:
  explicit ConsoleCheckView(const CheckRequest& request)
      : server_(request.server), application_(request.application), report_(request.report),
        quiet_(request.quiet) {}

  std::string ServerName() override { return server_; }
  std::string ApplicationName() override { return application_; }
  void SetApplicationName(std::string_view text) override { application_ = text; }
  bool DetailTicked() override { return report_.show_detail; }
  bool EstimatesShown() override { return report_.show_estimates; }
  void SetOkEnabled(bool) override {}
  void SetExitEnabled(bool) override {}
  void SetAutoCheckEnabled(bool) override {}
  void SwitchAutoCheckOff() override {}
  bool ShowError(std::string_view text) override {
    if (!quiet_) PrintToStderr(text);
    return true;
  }
  bool Yield() override { return true; }
  void ClearLines() override { lines_.clear(); }
  void AppendLine(std::string_view line) override {
    if (!quiet_ && (line == kConnectingLine || line == kSearchingLine)) PrintToStderr(line);
    lines_.emplace_back(line);
  }

  void PrintLines() const {
    ConsoleSink out;
    for (const std::string& line : lines_) out.AppendLine(line);
  }
  void PrintLinesToStderr() const {
    if (quiet_) return;
    for (const std::string& line : lines_) PrintToStderr(line);
  }

 private:
  std::string server_;
  std::string application_;
  ReportOptions report_;
  bool quiet_;
  std::vector<std::string> lines_;
};

int FailureExitCode(CheckFailure failure) {
  switch (failure) {
    case CheckFailure::LogMissing:
      return kExitCheckFailed;
    case CheckFailure::LogUnreadable:
      return kExitUnreadable;
    case CheckFailure::DownloadFailed:
      return kExitDownloadFailed;
    case CheckFailure::LibraryUnavailable:
      return kExitLibraryUnavailable;
  }
  return kExitFailure;
}

}  // namespace

int CheckStoredServer(const CheckRequest& request, const ScanPrinter* print) {
  SetStoreKeyPaths();
  const std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
  ConsoleCheckView view(request);
  // No settings file: the window's remembered server stays the window's.
  CheckDriver driver(view, CheckDependencies{*registry, SystemCaseMap(),
                                             LogCopyDirectory(ExecutableDirectory()),
                                             kNativePathSeparator, nullptr, LoadEssbaseLibrary});
  const CheckOutcome outcome = driver.cmdOK_Click();
  if (!print) {
    view.PrintLines();
  } else if (outcome == CheckOutcome::Reported) {
    (*print)(driver.scan_state(), view.ApplicationName());
  } else {
    view.PrintLinesToStderr();
  }
  switch (outcome) {
    case CheckOutcome::Reported:
      return kExitOk;
    case CheckOutcome::Failed:
      if (!request.quiet && !driver.failure_reason().empty()) {
        std::fprintf(stderr, "kelvary-cli: %s\n", driver.failure_reason().c_str());
      }
      return FailureExitCode(driver.failure());
    case CheckOutcome::NameRefused:
      return kExitUsage;
    case CheckOutcome::LoginRefused:
      return kExitLoginRefused;
    case CheckOutcome::Skipped:
    case CheckOutcome::Abandoned:
      break;  // a console neither yields to a second check nor goes away
  }
  return kExitFailure;
}

std::string_view CheckFailureText(int exit_code) {
  switch (exit_code) {
    case kExitOk:
      return {};
    case kExitCheckFailed:
      return "the application has no log on this server";
    case kExitUnreadable:
      return "the application's log could not be read";
    case kExitLoginRefused:
      return "the server refused the login";
    case kExitDownloadFailed:
      return "the server could not send the application's log";
    case kExitLibraryUnavailable:
      return "the Essbase client library could not be loaded";
    case kExitUsage:
      return "the application name is not a plain name";
    default:
      return "the check failed";
  }
}

void AddCheckCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check = app.add_subcommand("check", "Check which calculations are running on a stored server");
  check->add_option("--server", options->request.server, "The server's name in the store")->required();
  CLI::Option* application =
      check->add_option("--app", options->request.application, "Application name (upper-cased, as a check does)");
  check->add_flag("--all-apps", options->all_apps,
                  "Every application of a server reached by path, each line led by the application's name")
      ->excludes(application);
  check->add_flag("--detail", options->request.report.show_detail, "Show one line per completion notice");
  check->add_flag("--estimates", options->request.report.show_estimates,
                  "Show a line with percent done, time running and time left under each calculation");
  check->add_flag("--json", options->json, "Print the calculations, their estimates and the history as JSON");
  check->callback([options, application, &exit_code] {
    if (options->all_apps) {
      exit_code = CheckAllApplications(options->request.server, options->request.report, options->json);
      return;
    }
    if (application->count() == 0) throw CLI::RequiredError("--app or --all-apps");
    const ScanPrinter json = [](const ScanState& state, std::string_view application) {
      PrintJson(ScanJson(state, application));
    };
    exit_code = CheckStoredServer(options->request, options->json ? &json : nullptr);
  });
}

}  // namespace kelvary::cli
