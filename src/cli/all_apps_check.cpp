#include "cli/all_apps_check.h"

#include <cstdio>
#include <memory>
#include <thread>

#include "cli/console_sink.h"
#include "cli/estimates_json.h"
#include "cli/exit_codes.h"
#include "base/path_text.h"
#include "servers/registry_store.h"
#include "servers/server_definition.h"
#include "status/all_apps_scan.h"
#include "status/check_driver.h"

namespace kelvary::cli {
namespace {

constexpr std::string_view kNameJoint = ": ";
constexpr std::string_view kNoLog = "no log";
constexpr std::string_view kRemoteServer = "--all-apps reads the logs by path; this server is reached remotely: ";
constexpr std::string_view kNoPath = "no stored server of this name has a Path: ";
constexpr std::string_view kNoAppFolder = "the server's Essbase directory has no app folder: ";

// Report lines with the application's name before each.
class NamedLines final : public ReportSink {
 public:
  explicit NamedLines(std::string_view application) : prefix_(std::string(application) + std::string(kNameJoint)) {}
  void ClearLines() override {}
  void AppendLine(std::string_view line) override { out_.AppendLine(prefix_ + std::string(line)); }

 private:
  std::string prefix_;
  ConsoleSink out_;
};

void PrintText(const AllApplications& all, const ReportOptions& report) {
  for (const ApplicationScan& scan : all.applications) {
    NamedLines out(scan.application);
    if (!scan.log_found) {
      out.AppendLine(kNoLog);
    } else if (scan.result == ScanResult::ReadError) {
      out.AppendLine(FailureLine(CheckFailure::LogUnreadable));
    } else {
      WriteReport(scan.state, report, out);
    }
  }
}

void PrintJsonOf(std::string_view server, const AllApplications& all) {
  nlohmann::ordered_json applications = nlohmann::ordered_json::array();
  for (const ApplicationScan& scan : all.applications) {
    nlohmann::ordered_json app = scan.log_found ? ScanJson(scan.state, scan.application)
                                                : nlohmann::ordered_json{{"application", scan.application}};
    app["log_found"] = scan.log_found;
    app["log_complete"] = scan.log_found && scan.result == ScanResult::Complete;
    applications.push_back(std::move(app));
  }
  PrintJson(nlohmann::ordered_json{{"server", server}, {"applications", std::move(applications)}});
}

}  // namespace

ServerApplications ScanServerApplications(const std::string& server) {
  SetStoreKeyPaths();
  const std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
  const std::string key = ServerKeyPath(server);
  if (RegReadText(*registry, RegRoot::CurrentUser, key, kAccessValue) == kRemoteAccess) {
    return {{}, kExitUsage, std::string(kRemoteServer) + server};
  }
  const std::string essbase_path = RegReadText(*registry, RegRoot::CurrentUser, key, kPathValue);
  if (essbase_path.empty()) return {{}, kExitCheckFailed, std::string(kNoPath) + server};
  AllApplications all = ScanAllApplications(PathFromSystemText(essbase_path), SystemCaseMap(),
                                            std::thread::hardware_concurrency());
  if (!all.app_folder_found) return {{}, kExitCheckFailed, std::string(kNoAppFolder) + essbase_path};
  return {std::move(all), kExitOk, {}};
}

int CheckAllApplications(const std::string& server, const ReportOptions& report, bool json) {
  const ServerApplications scanned = ScanServerApplications(server);
  if (scanned.exit_code != kExitOk) {
    std::fprintf(stderr, "kelvary-cli: %s\n", scanned.why.c_str());
    return scanned.exit_code;
  }
  if (json) {
    PrintJsonOf(server, scanned.all);
  } else {
    PrintText(scanned.all, report);
  }
  return kExitOk;
}

}  // namespace kelvary::cli
