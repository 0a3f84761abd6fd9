#include "status/check_driver.h"

#include <functional>
#include <memory>
#include <utility>

#include "base/path_text.h"
#include "servers/registry_store.h"
#include "servers/server_definition.h"
#include "status/log_scanner.h"
#include "status/plain_name.h"
#include "status/remote_log.h"

namespace kelvary {
namespace {

constexpr std::string_view kAppFolder = "app";
constexpr std::string_view kLogExtension = ".log";
constexpr char kReasonJoint[] = ": ";

// How the stretch guarded by the failure trap ended.
enum class TrapEnd { LogOpen, Failed, LoginRefused, Abandoned };

struct TrapResult {
  TrapEnd end;
  std::unique_ptr<ByteSource> log;
  CheckFailure failure = CheckFailure::LogMissing;
  std::string reason;
  std::optional<std::int64_t> log_age_seconds = {};  // a log read where the server writes it
};

std::string ReadServerValue(const CheckDependencies& deps, std::string_view server,
                            std::string_view value_name) {
  return RegReadText(deps.registry, RegRoot::CurrentUser, ServerKeyPath(server), value_name);
}

// The Essbase directory, "app", A, A ".log", nothing trimmed: a Path that
// ends in a separator gives a doubled one, an empty Path a path from the root.
// Both come as text of the system code page; the path is path text.
std::string DirectLogPath(const CheckDependencies& deps, std::string_view essbase_path,
                          std::string_view application) {
  const char sep = deps.path_separator;
  const std::string app = PathFromSystemText(application);
  std::string path = PathFromSystemText(essbase_path);
  path += sep;
  path += kAppFolder;
  path += sep;
  path += app;
  path += sep;
  path += app;
  path += kLogExtension;
  return path;
}

// The second progress line, the access lookup, the remote retrieval and the
// opening of the log: anything that goes wrong here ends on the one failure
// line, which the caller shows.
TrapResult LocateAndOpenLog(CheckView& view, const CheckDependencies& deps,
                            std::string_view server, std::string_view application,
                            std::string_view essbase_path, std::string& log_path) {
  view.ClearLines();
  view.AppendLine(kSearchingLine);
  if (!view.Yield()) return {TrapEnd::Abandoned, nullptr, {}, {}};

  const bool downloaded = ReadServerValue(deps, server, kAccessValue) == kRemoteAccess;
  if (downloaded) {
    RemoteLogResult remote = FetchRemoteLog(view, deps, server, application);
    switch (remote.outcome) {
      case RemoteFetch::LogReady:
        log_path = std::move(remote.local_path);
        break;
      case RemoteFetch::CheckEnded:
        return {TrapEnd::LoginRefused, nullptr, {}, {}};
      case RemoteFetch::Failed:
        return {TrapEnd::Failed, nullptr, CheckFailure::LogMissing, std::move(remote.failure)};
      case RemoteFetch::LibraryUnavailable:
        return {TrapEnd::Failed, nullptr, CheckFailure::LibraryUnavailable, std::move(remote.failure)};
      case RemoteFetch::DownloadFailed:
        log_path = std::move(remote.local_path);
        return {TrapEnd::Failed, nullptr, CheckFailure::DownloadFailed, std::move(remote.failure)};
      case RemoteFetch::Abandoned:
        return {TrapEnd::Abandoned, nullptr, {}, {}};
    }
  } else {
    log_path = DirectLogPath(deps, essbase_path, application);
  }

  OpenedLog opened = OpenLogForReading(log_path);
  if (!opened.source) {
    const CheckFailure failure = opened.not_a_file ? CheckFailure::LogUnreadable : CheckFailure::LogMissing;
    return {TrapEnd::Failed, nullptr, failure, log_path + kReasonJoint + opened.error};
  }
  // A downloaded copy was written just now: its age says nothing of the log's.
  return {TrapEnd::LogOpen, std::move(opened.source), {}, {}, downloaded ? std::nullopt : opened.age_seconds};
}

// The scanner's yield after each header, let through only once
// kScanYieldInterval has passed since the last one.
class PacedYield {
 public:
  PacedYield(CheckView& view, const CheckClock& now) : view_(view), now_(now), last_(now()) {}

  bool operator()() {
    const auto time = now_();
    if (time - last_ < kScanYieldInterval) return true;
    last_ = time;
    return view_.Yield();
  }

 private:
  CheckView& view_;
  const CheckClock& now_;
  std::chrono::steady_clock::time_point last_;
};

constexpr std::string_view kReadFailed = "reading failed part-way";

}  // namespace

std::string_view FailureLine(CheckFailure failure) {
  for (const FailureLineText& entry : kFailureLines) {
    if (entry.failure == failure) return entry.line;
  }
  return kFailureLine;
}

CheckDriver::CheckDriver(CheckView& view, CheckDependencies deps)
    : view_(view), deps_(std::move(deps)) {}

CheckOutcome CheckDriver::cmdOK_Click() {
  // A timer tick handled during one of this check's yields must not start a
  // second check over the first: both would use the same table and paths.
  if (running_) return CheckOutcome::Skipped;
  running_ = true;
  const CheckOutcome outcome = RunCheck();
  running_ = false;
  return outcome;
}

CheckOutcome CheckDriver::RunCheck() {
  // Before anything is cleared, read, logged in to or written: a name that
  // could lead the log's path out of its folder changes nothing.
  if (const std::string refusal = ApplicationNameRefusal(view_.ApplicationName()); !refusal.empty()) {
    return view_.ShowError(refusal) ? CheckOutcome::NameRefused : CheckOutcome::Abandoned;
  }
  state_.EmptyTable();
  view_.ClearLines();
  view_.AppendLine(kConnectingLine);
  view_.SetOkEnabled(false);
  view_.SetExitEnabled(false);
  // One server and one application for the whole check, even if the user
  // changes either box during a yield.
  const std::string server = view_.ServerName();
  const std::string application = deps_.cases.Upper(view_.ApplicationName());
  view_.SetApplicationName(application);
  if (!view_.Yield()) return CheckOutcome::Abandoned;

  strEssbasePath_ = ReadServerValue(deps_, server, kPathValue);
  TrapResult trap =
      LocateAndOpenLog(view_, deps_, server, application, strEssbasePath_, strLogPathAndFile_);
  switch (trap.end) {
    case TrapEnd::LogOpen:
      break;
    case TrapEnd::Failed:
      return EndOnFailure(trap.failure, std::move(trap.reason));
    case TrapEnd::LoginRefused:
      return CheckOutcome::LoginRefused;
    case TrapEnd::Abandoned:
      return CheckOutcome::Abandoned;
  }

  if (deps_.query_recorder != nullptr) deps_.query_recorder->WriteQuery(server, application);

  PacedYield paced_yield(view_, deps_.now);
  const ScanInputs inputs{application, deps_.cases, std::ref(paced_yield), trap.log_age_seconds};
  const ScanResult scanned = ScanLog(state_, *trap.log, inputs);
  trap.log.reset();  // closed before the report, as the window's file 1 was
  if (scanned == ScanResult::Abandoned) return CheckOutcome::Abandoned;
  // A report of part of the log could show a finished calculation as running.
  if (scanned == ScanResult::ReadError) {
    state_.EmptyTable();
    return EndOnFailure(CheckFailure::LogUnreadable, strLogPathAndFile_ + kReasonJoint + std::string(kReadFailed));
  }
  WriteReport(state_, ReportOptions{view_.DetailTicked(), view_.EstimatesShown()}, view_);

  view_.SetOkEnabled(true);
  view_.SetExitEnabled(true);
  view_.Yield();  // the check is over whatever the window does now
  return CheckOutcome::Reported;
}

CheckOutcome CheckDriver::EndOnFailure(CheckFailure failure, std::string reason) {
  failure_ = failure;
  failure_reason_ = std::move(reason);
  view_.ClearLines();
  view_.AppendLine(FailureLine(failure));
  view_.SetOkEnabled(true);
  view_.SetExitEnabled(true);
  view_.Yield();  // the check is over whatever the window does now
  return CheckOutcome::Failed;
}

}  // namespace kelvary
