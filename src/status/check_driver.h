#pragma once
// One run of "Check Calculation": from the press of cmdOK (or a tick of
// Timer1) to the finished report in lstCalcs. The main window and
// kelvary-cli each supply a CheckView; the driver owns the check's order of
// steps, its busy state and its single failure line.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "base/case_map.h"
#include "servers/registry_backend.h"
#include "status/essbase_library.h"
#include "status/query_recorder.h"
#include "status/report.h"
#include "status/scan_state.h"

namespace kelvary {

inline constexpr std::string_view kConnectingLine = "Connecting to server...";
inline constexpr std::string_view kSearchingLine = "Searching log file...";

// Why a check ended on a failure line instead of a report.
enum class CheckFailure {
  LogMissing,      // no log at the path
  LogUnreadable,   // a log that is not a file, or a read that failed part-way
  DownloadFailed,  // the library said the download failed
  LibraryUnavailable,  // the library cannot be loaded or lacks an entry point
};

// Every failure line a check can end on, one per failure.
struct FailureLineText {
  CheckFailure failure;
  std::string_view line;
};
inline constexpr FailureLineText kFailureLines[] = {
    {CheckFailure::LogMissing, "The application does not exist on this server."},
    {CheckFailure::LogUnreadable, "The application's log could not be read."},
    {CheckFailure::DownloadFailed, "The server could not send the application's log."},
    {CheckFailure::LibraryUnavailable,
     "The Essbase client library esbapin.dll could not be loaded: the Essbase client must be "
     "installed and match Kelvary's 32- or 64-bit build."},
};
inline constexpr std::string_view kFailureLine = kFailureLines[0].line;
std::string_view FailureLine(CheckFailure failure);

// Every message box of a check: OK button and the error icon, this title.
inline constexpr unsigned kCheckMessageStyle = 16;
inline constexpr std::string_view kCheckMessageTitle = "Kelvary";

// What a check sees and changes of the main window. The list lstCalcs is the
// ReportSink (ClearLines, AppendLine).
class CheckView : public ReportSink {
 public:
  virtual std::string ServerName() = 0;                     // text of cboServers
  virtual std::string ApplicationName() = 0;                // text of txtApp
  virtual void SetApplicationName(std::string_view text) = 0;
  virtual bool DetailTicked() = 0;                          // chkDetail
  // An estimate line under each calculation's line; off unless the view asks.
  virtual bool EstimatesShown() { return false; }
  virtual void SetOkEnabled(bool enabled) = 0;              // cmdOK
  virtual void SetExitEnabled(bool enabled) = 0;            // cmdExit
  virtual void SetAutoCheckEnabled(bool enabled) = 0;       // chkCheck
  // Clears chkCheck's tick and stops Timer1.
  virtual void SwitchAutoCheckOff() = 0;
  // A modal box with kCheckMessageStyle and kCheckMessageTitle. Returns false
  // when the window was closed meanwhile.
  virtual bool ShowError(std::string_view text) = 0;
  // Processes the window's pending events once. Returns false when the
  // window is gone; the check then ends without touching the view again.
  virtual bool Yield() = 0;
};

// The time the check paces its yields by; a test can drive it.
using CheckClock = std::function<std::chrono::steady_clock::time_point()>;

// During the scan the window gets its events once this much time has passed
// since the last yield: it answers within a frame, and the scan is not
// slowed by a trip through the message queue after every header.
inline constexpr std::chrono::milliseconds kScanYieldInterval{15};

// What the driver reaches besides the view, supplied by its owner.
struct CheckDependencies {
  RegistryBackend& registry;
  const CaseMap& cases;
  std::string executable_directory;  // where remote logs are copied to
  char path_separator;               // '\\' on Windows, '/' elsewhere
  QueryRecorder* query_recorder;     // null: the check records nothing
  std::function<LoadedEssbase()> load_essbase;
  CheckClock now = std::chrono::steady_clock::now;
};

// The separator of this platform's paths.
#ifdef _WIN32
inline constexpr char kNativePathSeparator = '\\';
#else
inline constexpr char kNativePathSeparator = '/';
#endif

enum class CheckOutcome {
  Reported,      // the report is in the list
  NameRefused,   // a message box said why; nothing else happened
  Failed,        // the list holds the failure line of failure()
  LoginRefused,  // a message box said so; the list is empty
  Skipped,       // a check was already running: nothing happened
  Abandoned,     // the window went away during the check
};

// Lives as long as its window: it keeps the scanner's state and the check's
// paths from one check to the next. The view and the driver must outlive a
// running check; closing the window makes the next Yield return false.
class CheckDriver {
 public:
  CheckDriver(CheckView& view, CheckDependencies deps);

  // One check. The window ignores the outcome; kelvary-cli maps it to its
  // exit code.
  CheckOutcome cmdOK_Click();

  const ScanState& scan_state() const { return state_; }
  const std::string& strEssbasePath() const { return strEssbasePath_; }
  const std::string& strLogPathAndFile() const { return strLogPathAndFile_; }
  // Which failure line the last failed check ended on, and why, for a
  // person; the window shows only the line.
  CheckFailure failure() const { return failure_; }
  const std::string& failure_reason() const { return failure_reason_; }

 private:
  CheckOutcome RunCheck();
  CheckOutcome EndOnFailure(CheckFailure failure, std::string reason);

  CheckView& view_;
  CheckDependencies deps_;
  ScanState state_;
  std::string strEssbasePath_;
  std::string strLogPathAndFile_;
  CheckFailure failure_ = CheckFailure::LogMissing;
  std::string failure_reason_;
  bool running_ = false;
};

}  // namespace kelvary
