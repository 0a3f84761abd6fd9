// One check, seen from the window: every visible change in its order (a view
// that records them), for servers read directly and through the stand-in
// Essbase library, loaded by the program's real loader.
#include "status/check_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "essbase_standin/essbase_standin.h"
#include "servers/registry_store.h"
#include "status/remote_log.h"
#include "stamped_log.h"
#include "support/memory_registry.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
// winbase.h defines Yield() as an empty macro for 16-bit code; it would
// rewrite CheckView::Yield.
#undef Yield
#else
#include <sys/stat.h>

#include <cstdlib>
#endif

namespace kelvary::test {
namespace {

// Each change to the window as one text, e.g. "ok:off", "line:Searching...",
// and the query recorded ("query:SERVER,APP"); lines holds what lstCalcs
// holds now.
class RecordingView final : public CheckView, public QueryRecorder {
 public:
  std::vector<std::string> events;
  std::string server;
  std::string application;
  bool detail = false;
  // Called at each yield; returning false says the window is gone.
  std::function<bool()> on_yield = [] { return true; };
  bool box_answer = true;  // false: the window closed while the box was open

  std::string ServerName() override { return server; }
  std::string ApplicationName() override { return application; }
  void SetApplicationName(std::string_view text) override {
    application = text;
    events.push_back("app:" + application);
  }
  bool DetailTicked() override { return detail; }
  void SetOkEnabled(bool enabled) override { events.push_back(enabled ? "ok:on" : "ok:off"); }
  void SetExitEnabled(bool enabled) override { events.push_back(enabled ? "exit:on" : "exit:off"); }
  void SetAutoCheckEnabled(bool enabled) override { events.push_back(enabled ? "check:on" : "check:off"); }
  void SwitchAutoCheckOff() override { events.push_back("timer:off"); }
  bool ShowError(std::string_view text) override {
    events.push_back("box:" + std::string(text));
    return box_answer;
  }
  bool Yield() override {
    events.push_back("yield");
    return on_yield();
  }
  void ClearLines() override {
    events.push_back("clear");
    lines.clear();
  }
  void AppendLine(std::string_view line) override { events.push_back("line:" + lines.emplace_back(line)); }
  void WriteQuery(std::string_view server, std::string_view application) override {
    events.push_back("query:" + std::string(server) + "," + std::string(application));
  }
  std::vector<std::string> lines;
};

// Set (unset when null) in the operating system's environment, where a
// loaded library (with a C runtime of its own on Windows) reads it too.
void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value);
#else
  value ? setenv(name, value, 1) : unsetenv(name);
#endif
}

constexpr const char* kLibraryVariable = "KELVARY_ESSBASE_LIBRARY";

// SALES by admin, started at 14:05, one of ten notices: three headers parsed.
const std::string kRunningCalcLog = CrLfLog({
    "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)",
    "Calculating [ Measures(All members) ] with fixed members [Year(Jan)]",
    "[Wed Jan 08 14:05:10 2003]Local/SAMPLE/Sales/admin/Info(1012672)",
    "Calculation notice: Completion Notice For Every: [ 10%] Of Blocks",
    "[Wed Jan 08 14:06:11 2003]Local/SAMPLE/Sales/admin/Info(1012669)",
    "Calculator Information Message: Completion Notice For Sales",
});
const std::string kReportLine = "SALES (1 out of 10) - Started at 02:05 pm by admin";
const std::string kDetailLine = "  >> 1/10:  14:06";
constexpr int kScanYields = 3;
constexpr int kCheckYields = 2 + kScanYields + 1;  // connecting, searching, the scan, the end

// What every check shows until it opens the log.
const Lines kStart = {"clear", "line:Connecting to server...", "ok:off", "exit:off", "app:SAMPLE", "yield",
                      "clear", "line:Searching log file...", "yield"};
const Lines kRunningCalcCheck = Joined({kStart, {"query:Finance,SAMPLE"}, Lines(kScanYields, "yield"),
                                      {"clear", "line:" + kReportLine, "line:" + kDetailLine, "ok:on", "exit:on",
                                       "yield"}});

std::string Call(const std::string& name, const std::vector<std::string>& args) {
  std::string line = name;
  for (const std::string& arg : args) line += "|" + arg;
  return line;
}
std::string LoginCall(const std::string& dns = standin::kServer, const std::string& user = standin::kUser,
                      const std::string& password = standin::kPassword) {
  return Call("EsbLogin", {std::to_string(standin::kInstance), dns, user, password});
}
std::string TermCall() { return Call("EsbTerm", {std::to_string(standin::kInstance)}); }

// EsbInit's record: version 0x65100, 10 context handles, the local path and
// an empty message file padded with blanks, no help file, the client error
// switch, an error stack depth of 100, two spare bytes.
std::string InitCall() {
  std::vector<unsigned char> bytes = {0x00, 0x51, 0x06, 0x00, 0x0A, 0x00};
  const std::string local_path = "C:\\ESSBASE";
  bytes.insert(bytes.end(), local_path.begin(), local_path.end());
  bytes.insert(bytes.end(), 110 + 120, ' ');
  bytes.insert(bytes.end(), 120, 0x00);
  bytes.insert(bytes.end(), {0x01, 0x00, 0x64, 0x00, 0x00, 0x00});
  return Call("EsbInit", {standin::Hex(bytes.data(), bytes.size())});
}

class CheckDriverTest : public ::testing::Test {
 protected:
  CheckDriverTest() {
    SetStoreKeyPaths();
#ifndef _WIN32
    // Elsewhere than Windows the library is named; there it is esbapin.dll
    // next to the test program.
    SetEnvironment(kLibraryVariable, KELVARY_STANDIN_LIBRARY);
#endif
    SetEnvironment(standin::kRecordVariable, record_.c_str());
    SetEnvironment(standin::kLogsVariable, fixtures_.Text().c_str());
    view_.server = "Finance";
    view_.application = "sample";
    view_.detail = true;
  }
  ~CheckDriverTest() override {
    SetEnvironment(standin::kRecordVariable, nullptr);
    SetEnvironment(standin::kLogsVariable, nullptr);
  }

  void AddServer(const std::string& name, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [value_name, text] : values) {
      RegWriteText(registry_, RegRoot::CurrentUser, ServerKeyPath(name), value_name, text);
    }
  }
  void AddRemoteServer(const std::string& name, const std::string& dns = standin::kServer,
                       const std::string& user = standin::kUser, const std::string& password = standin::kPassword) {
    AddServer(name, {{"DNS", dns}, {"UserName", user}, {"Password", password}, {"Access", "1"}});
  }
  // A direct server whose Essbase directory holds SAMPLE's log.
  void AddDirectServer(const std::string& name) {
    essbase_.Write("app/SAMPLE/SAMPLE.log", kRunningCalcLog);
    AddServer(name, {{"Path", essbase_.Text()}, {"Access", "0"}});
  }

  // The clock moves by clock_step_ at every reading: by default a whole
  // yield interval, so that the scan yields after every header.
  CheckDependencies Deps(char separator = kNativePathSeparator) {
    return {registry_, CaseMap::Windows1252(), exe_dir_.Text(), separator, &view_, LoadEssbaseLibrary,
            [this] { return clock_ += clock_step_; }};
  }

  // The stand-in's calls so far, one "Name|arg|arg..." each.
  Lines Calls() const {
    std::istringstream in(FileContent(record_));
    Lines calls;
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    return calls;
  }
  std::string Copy(const std::string& server) const { return exe_dir_.File(server + "_SAMPLE.log"); }
  std::string DirectLog() const {
    const std::string sep(1, kNativePathSeparator);
    return essbase_.Text() + sep + "app" + sep + "SAMPLE" + sep + "SAMPLE.log";
  }

  MemoryRegistry registry_;
  std::chrono::steady_clock::time_point clock_{};
  std::chrono::steady_clock::duration clock_step_ = kScanYieldInterval;
  TempFolder fixtures_;
  TempFolder exe_dir_;
  TempFolder essbase_;
  std::string record_ = fixtures_.File("calls.txt");
  RecordingView view_;
  CheckDriver driver_{view_, Deps()};
};

// Windows' separator, where no such file can exist: the path is composed
// as given, nothing trimmed, and the check ends on the failure line.
TEST_F(CheckDriverTest, DirectPathIsComposedWithoutTrimming) {
  // The server asked for (only "Finance" is stored), its stored path, the
  // application and the path composed.
  const char* const cases[][4] = {
      {"Finance", "d:\\essbase", "sample", "d:\\essbase\\app\\SAMPLE\\SAMPLE.log"},
      {"Finance", "d:\\essbase\\", "sample", "d:\\essbase\\\\app\\SAMPLE\\SAMPLE.log"},
      {"Finance", " d:\\essbase ", "", " d:\\essbase \\app\\\\.log"},
      {"Nowhere", "d:\\essbase", "sample", "\\app\\SAMPLE\\SAMPLE.log"},
  };
  for (const auto& [server, essbase_path, application, log_path] : cases) {
    AddServer("Finance", {{"Path", essbase_path}});
    view_.server = server;
    view_.application = application;
    CheckDriver driver(view_, Deps('\\'));
    EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Failed) << log_path;
    EXPECT_EQ(driver.strLogPathAndFile(), log_path);
    EXPECT_EQ(view_.lines, Lines{std::string(kFailureLine)});
  }
}

// The stored "Path" is still read for a remote server, though not used. A
// program in a folder named outside the system code page (a profile named
// after its owner) hands the library a form of the copy's path that it can
// write to, and the check scans the copy where it lies.
TEST_F(CheckDriverTest, RemoteServerScansTheCopyDownloadedInTheApiOrder) {
  fixtures_.Write("SAMPLE.log", kRunningCalcLog);
  AddRemoteServer("Finance");
  AddServer("Finance", {{"Path", "d:\\unused"}});
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
  EXPECT_EQ(view_.events, kRunningCalcCheck);
  EXPECT_EQ(driver_.strEssbasePath(), "d:\\unused");
  EXPECT_FALSE(driver_.scan_state().latest_entry_age_seconds) << "a copy just downloaded tells nothing";
  const std::string context = std::to_string(standin::kContext);
  EXPECT_EQ(Calls(), (Lines{InitCall(), LoginCall(), Call("EsbGetLogFile", {context, "SAMPLE", "0", Copy("Finance")}),
                            Call("EsbLogout", {context}), TermCall()}));

  view_.events.clear();
  const std::filesystem::path folder = exe_dir_.path() / std::filesystem::path(u8"Жук");
  std::filesystem::create_directory(folder);
  CheckDependencies deps = Deps();
  deps.executable_directory = PathText(folder);
  CheckDriver driver(view_, deps);
  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Reported);
  EXPECT_EQ(view_.events, kRunningCalcCheck);
  EXPECT_EQ(driver.strLogPathAndFile(), PathText(folder / "Finance_SAMPLE.log"));
}

// Each way a check can end, with its list line; a failure never shows a
// report, not even of an earlier copy or of the part that could be read.
TEST_F(CheckDriverTest, EachWayACheckEndsShowsItsOwnLines) {
  AddDirectServer("Direct");
  AddRemoteServer("Remote");
  exe_dir_.Write("Remote_SAMPLE.log", kRunningCalcLog);  // an earlier copy; the library has no log now
  const struct {
    const char* server;
    const char* application;
    Lines lines;  // what the list holds at the end
  } cases[] = {
      {"Direct", "SAMPLE", {kReportLine, kDetailLine}},
      {"Direct", "MISSING", {std::string(kFailureLine)}},
      {"Remote", "SAMPLE", {"The server could not send the application's log."}},
#ifndef _WIN32  // no pipe or /proc on Windows; make dist-test plants a library there
      {"Direct", "PIPE", {"The application's log could not be read."}},  // opening it must not wait
      {"Direct", "MEM", {"The application's log could not be read."}},
      {"Incomplete", "SAMPLE", {std::string(FailureLine(CheckFailure::LibraryUnavailable))}},
#endif
  };
#ifndef _WIN32
  essbase_.Write("app/MEM/keep", "");
  std::filesystem::create_symlink("/proc/self/mem", essbase_.File("app/MEM/MEM.log"));
  essbase_.Write("app/PIPE/keep", "");
  ASSERT_EQ(mkfifo(essbase_.File("app/PIPE/PIPE.log").c_str(), 0600), 0);
  AddRemoteServer("Incomplete");
#endif
  for (const auto& [server, application, lines] : cases) {
    view_.server = server;
    view_.application = application;
#ifndef _WIN32
    if (std::string(server) == "Incomplete") SetEnvironment(kLibraryVariable, KELVARY_INCOMPLETE_LIBRARY);
#endif
    const bool reported = lines[0] == kReportLine;
    EXPECT_EQ(driver_.cmdOK_Click(), reported ? CheckOutcome::Reported : CheckOutcome::Failed) << application;
    EXPECT_EQ(view_.lines, lines);
    if (!reported) {
      EXPECT_EQ(FailureLine(driver_.failure()), lines[0]);
    }
    EXPECT_EQ(driver_.scan_state().intCalcCount, reported ? 1 : 0);
  }
}

// Refused before anything else: the box says why, and nothing is cleared,
// read, logged in to or recorded.
TEST_F(CheckDriverTest, ApplicationNameThatIsNotPlainIsRefusedBeforeAnyPathOrLogin) {
  const std::pair<const char*, std::string> cases[] = {
      {"\\..\\..\\OUTSIDE", "contain the character '\\'."}, {"/../../X/pwn", "contain the character '/'."},
      {"..", "be \"..\"."}, {".", "be \".\"."}, {"C:SAMPLE", "contain the character ':'."},
      {"SAM*", "contain the character '*'."}, {"SA|M", "contain the character '|'."},
      {"SA\tM", "contain a control character (0x09)."}, {"SA\x1FM", "contain a control character (0x1F)."}};
  AddRemoteServer("Finance");
  for (const auto& [application, message] : cases) {
    view_.application = application;
    view_.lines = {"the previous report"};
    view_.events.clear();
    EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::NameRefused) << application;
    EXPECT_EQ(view_.events, Lines{"box:The application name must not " + message});
    EXPECT_EQ(view_.lines, Lines{"the previous report"});
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(std::filesystem::is_empty(exe_dir_.path()));
}

// A stored server name still works, but the copy lands directly in the
// program's folder under a name a file can hold; a name that could still
// leave the folder is never used. The root of a drive already ends in a
// separator, and the doubled one stays.
TEST(LocalCopyPath, IsEmptyUnlessTheCopyLiesDirectlyInTheFolder) {
  MemoryRegistry registry;
  const CheckDependencies deps{registry, CaseMap::Windows1252(), "d:\\tools", '\\', nullptr, nullptr};
  EXPECT_EQ(LocalCopyPath(deps, "../..\\C:a*?\"<>|\tb", "SAMPLE"), "d:\\tools\\.._.._C_a_______b_SAMPLE.log");
  EXPECT_EQ(LocalCopyPath(deps, "Finance", "../X"), "");
  EXPECT_EQ(LocalCopyPath(deps, "Finance", "X\\Y"), "");
  const CheckDependencies root{registry, CaseMap::Windows1252(), "C:\\", '\\', nullptr, nullptr};
  EXPECT_EQ(LocalCopyPath(root, "Finance", "SAMPLE"), "C:\\\\Finance_SAMPLE.log");
}

const std::string kCannotCheck = "  The status of the calculation can not be checked.";
const std::string kWrongPassword = "The password you have entered is incorrect." + kCannotCheck;

// The box comes first, the controls after; the API instance is ended all the
// same, and nothing is downloaded or recorded. Only a known refusal switches
// automatic re-checking off; a window closed during the box keeps its controls.
TEST_F(CheckDriverTest, RefusedLoginShowsTheBoxThenSetsTheControlsAndEndsTheInstance) {
  // DNS, user, password; the box's message, and whether the refusal is a known one.
  const std::tuple<const char*, const char*, const char*, std::string, bool> cases[] = {
      {"nowhere.example.com", standin::kUser, standin::kPassword,
       "The server you have entered does not exist." + kCannotCheck, true},
      {standin::kServer, standin::kUser, "guess", kWrongPassword, true},
      {standin::kServer, "", "", "The user you have entered does not exist." + kCannotCheck, true},
      {standin::kRefusingServer, standin::kUser, standin::kPassword, "Error:  1051004", false},
      {standin::kFailingServer, standin::kUser, standin::kPassword, "Error:  -12", false},
  };
  for (const auto& [dns, user, password, message, known] : cases) {
    AddRemoteServer("Finance", dns, user, password);
    view_.events.clear();
    std::filesystem::remove(record_);
    EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::LoginRefused) << message;
    Lines end = {"box:" + message};
    if (known) end.insert(end.end(), {"check:off", "timer:off"});
    end.insert(end.end(), {"clear", "ok:on", "exit:on"});
    EXPECT_EQ(view_.events, Joined({kStart, end}));
    EXPECT_EQ(Calls(), (Lines{InitCall(), LoginCall(dns, user, password), TermCall()}));
    EXPECT_FALSE(std::filesystem::exists(Copy("Finance")));
  }

  // The window closed while the box was open: the controls are left alone.
  AddRemoteServer("Finance", standin::kServer, standin::kUser, "guess");
  view_.events.clear();
  view_.box_answer = false;
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Abandoned);
  EXPECT_EQ(view_.events, Joined({kStart, {"box:" + kWrongPassword}}));
  EXPECT_EQ(Calls().back(), TermCall());
}

// A timer tick handled during a yield calls the handler again: it must not
// start a second check, at any of the check's yields. A server or
// application chosen meanwhile waits for the next check.
TEST_F(CheckDriverTest, CheckAskedForDuringACheckDoesNothing) {
  AddDirectServer("Finance");
  std::vector<CheckOutcome> nested;
  view_.on_yield = [&] {
    view_.server = "Elsewhere";
    view_.application = "other";
    const std::size_t before = view_.events.size();
    nested.push_back(driver_.cmdOK_Click());
    EXPECT_EQ(view_.events.size(), before);
    return true;
  };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
  EXPECT_EQ(nested, std::vector<CheckOutcome>(kCheckYields, CheckOutcome::Skipped));
  EXPECT_EQ(view_.events, kRunningCalcCheck);
  view_.on_yield = [] { return true; };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed) << "the next check takes the new choice";
}

// A server read directly shows its progress, then the report. During the
// scan the window gets its events only once a yield interval has passed since
// the last yield; the yields after the progress lines and at the end come
// whatever the time. The log, last written an hour ago, is that old.
TEST_F(CheckDriverTest, DirectServerShowsProgressThenTheReportYieldingByTime) {
  AddDirectServer("Finance");
  const auto an_hour_ago = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(DirectLog(), an_hour_ago);
  using std::chrono::milliseconds;
  const std::pair<milliseconds, int> steps_and_yields[] = {
      {milliseconds(0), 0}, {milliseconds(14), 1}, {milliseconds(15), 3}, {milliseconds(40), 3}};
  for (const auto& [step, scan_yields] : steps_and_yields) {
    clock_step_ = step;
    view_.events.clear();
    CheckDriver driver(view_, Deps());
    EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Reported);
    Lines expected = kRunningCalcCheck;
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(kStart.size()) + 1,
                   expected.begin() + static_cast<std::ptrdiff_t>(kStart.size()) + 1 + kScanYields - scan_yields);
    EXPECT_EQ(view_.events, expected) << step.count() << " ms";
    EXPECT_EQ(driver.strEssbasePath(), essbase_.Text());
    EXPECT_EQ(driver.strLogPathAndFile(), DirectLog());
    EXPECT_NEAR(driver.scan_state().latest_entry_age_seconds.value_or(0), 3600, 60);
  }
  EXPECT_TRUE(Calls().empty());
}

// The window closes at the n-th yield (1: after "Connecting", 2: after
// "Searching", 3-5: in the scan, 6: the last): nothing touches the view after
// it, and a later check (a window kept alive) runs normally.
TEST_F(CheckDriverTest, ClosedWindowIsNotTouchedAgain) {
  AddDirectServer("Finance");
  for (int closing_yield = 1; closing_yield <= kCheckYields; ++closing_yield) {
    int yields = 0;
    std::size_t events_at_close = 0;
    view_.on_yield = [&] {
      if (++yields < closing_yield) return true;
      events_at_close = view_.events.size();
      return false;
    };
    const CheckOutcome outcome = driver_.cmdOK_Click();
    EXPECT_EQ(outcome, closing_yield == kCheckYields ? CheckOutcome::Reported : CheckOutcome::Abandoned);
    EXPECT_EQ(view_.events.size(), events_at_close) << closing_yield;
    view_.on_yield = [] { return true; };
    EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
  }
}

}  // namespace
}  // namespace kelvary::test
