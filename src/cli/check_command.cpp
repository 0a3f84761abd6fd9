#include "cli/check_command.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/console_sink.h"
#include "cli/exit_codes.h"
#include "servers/registry_store.h"
#include "status/check_driver.h"
#include "status/executable_directory.h"
#include "status/per_user_folder.h"

namespace kelvary::cli {
namespace {

struct CheckOptions {
  std::string server;
  std::string application;
  bool detail = false;
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
  explicit ConsoleCheckView(const CheckOptions& options)
      : server_(options.server), application_(options.application), detail_(options.detail) {}

  std::string ServerName() override { return server_; }
  std::string ApplicationName() override { return application_; }
  void SetApplicationName(std::string_view text) override { application_ = text; }
  bool DetailTicked() override { return detail_; }
  void SetOkEnabled(bool) override {}
  void SetExitEnabled(bool) override {}
  void SetAutoCheckEnabled(bool) override {}
  void SwitchAutoCheckOff() override {}
  bool ShowError(std::string_view text) override {
    PrintToStderr(text);
    return true;
  }
  bool Yield() override { return true; }
  void ClearLines() override { lines_.clear(); }
  void AppendLine(std::string_view line) override {
    if (line == kConnectingLine || line == kSearchingLine) PrintToStderr(line);
    lines_.emplace_back(line);
  }

  void PrintLines() const {
    ConsoleSink out;
    for (const std::string& line : lines_) out.AppendLine(line);
  }

 private:
  std::string server_;
  std::string application_;
  bool detail_;
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

int RunCheck(const CheckOptions& options) {
  SetStoreKeyPaths();
  const std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
  ConsoleCheckView view(options);
  // No settings file: the window's remembered server stays the window's.
  CheckDriver driver(view, CheckDependencies{*registry, SystemCaseMap(),
                                             LogCopyDirectory(ExecutableDirectory()),
                                             kNativePathSeparator, nullptr, LoadEssbaseLibrary});
  const CheckOutcome outcome = driver.cmdOK_Click();
  view.PrintLines();
  switch (outcome) {
    case CheckOutcome::Reported:
      return kExitOk;
    case CheckOutcome::Failed:
      if (!driver.failure_reason().empty()) {
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

}  // namespace

void AddCheckCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check = app.add_subcommand("check", "Check which calculations are running on a stored server");
  check->add_option("--server", options->server, "The server's name in the store")->required();
  check->add_option("--app", options->application, "Application name (upper-cased, as a check does)")
      ->required();
  check->add_flag("--detail", options->detail, "Show one line per completion notice");
  check->callback([options, &exit_code] { exit_code = RunCheck(*options); });
}

}  // namespace kelvary::cli
