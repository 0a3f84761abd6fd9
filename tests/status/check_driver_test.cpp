// One check, seen from the window: every visible change in its order, for
// servers read directly and through the stand-in Essbase library.
#include "status/check_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "remote_fixture.h"
#include "status/remote_log.h"
#include "string_source.h"
#include "ui/settings_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kelvary::test {
namespace {

using Lines = std::vector<std::string>;

// A running SALES calculation by admin, started at 14:05, with one of ten
// notices. Three lines make the scanner parse a header, so it yields three times.
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
const std::string kIniPath = "C:\\Tools\\Kelvary.ini";

// Settings writes appear among the view's events, so their moment is seen.
class JournalSettingsAccess final : public SettingsFileAccess {
 public:
  explicit JournalSettingsAccess(Lines& journal) : journal_(journal) {}
  ReadStatus ReadAll(const std::string&, std::string&) override { return ReadStatus::Failed; }
  void CreateNew(const std::string&, std::string_view) override {}
  bool Replace(const std::string& path, std::string_view content) override {
    journal_.push_back("settings:" + path + ":" + std::string(content));
    return true;
  }
  std::optional<std::uint64_t> LastWriteTime(const std::string&) override { return std::nullopt; }
  void MakeFolder(const std::string&) override {}

 private:
  Lines& journal_;
};

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// What every check shows until it opens the log.
Lines StartEvents(const std::string& application = "SAMPLE") {
  return {"clear", "line:Connecting to server...", "ok:off", "exit:off", "app:" + application, "yield",
          "clear", "line:Searching log file...", "yield"};
}
const Lines kScan(kScanYields, "yield");
const Lines kFailureEnd = {"clear", "line:The application does not exist on this server.", "ok:on", "exit:on",
                           "yield"};

Lines ReportEnd(const Lines& lines) {
  Lines end = {"clear"};
  for (const std::string& line : lines) end.push_back("line:" + line);
  end.insert(end.end(), {"ok:on", "exit:on", "yield"});
  return end;
}

std::string Settings(const std::string& line) { return "settings:" + kIniPath + ":" + line + "\r\n"; }

// A whole check of SAMPLE on Finance that reports the running calculation.
const Lines kRunningCalcCheck =
    Join({StartEvents(), {Settings("Finance,SAMPLE")}, kScan, ReportEnd({kReportLine, kDetailLine})});

class CheckDriverTest : public RemoteFixture {
 protected:
  CheckDriverTest() : settings_access_(view_.events), settings_(settings_access_, kIniPath) {
    view_.server = "Finance";
    view_.application = "sample";
    view_.detail = true;
  }

  // A direct server whose Essbase directory holds SAMPLE's log.
  void AddDirectServer(const std::string& name) {
    essbase_.Write("app/SAMPLE/SAMPLE.log", kRunningCalcLog);
    AddServer(name, {{"Path", essbase_.Text()}, {"Access", "0"}});
  }

  // Where the check looks for an application's log under essbase_; the
  // application comes in the system code page.
  std::string DirectLog(const std::string& application) const {
    const std::string sep(1, kNativePathSeparator);
    const std::string app = PathFromSystemText(application);
    return essbase_.Text() + sep + "app" + sep + app + sep + app + ".log";
  }

  RecordingView view_;
  JournalSettingsAccess settings_access_;
  SettingsFile settings_;
  TempFolder essbase_;
  CheckDriver driver_{view_, Deps(&settings_)};
};

TEST_F(CheckDriverTest, DirectServerShowsProgressThenTheReport) {
  AddDirectServer("Finance");

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events, kRunningCalcCheck);
  EXPECT_EQ(driver_.strEssbasePath(), essbase_.Text());
  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog("SAMPLE"));
  EXPECT_EQ(driver_.scan_state().intCalcCount, 1);
  EXPECT_TRUE(Calls().empty());
}

// The application is upper-cased in the code page as the check starts, and
// used so in the path and in the settings file.
TEST_F(CheckDriverTest, EmptyLogOfAnUpperCasedApplicationReportsNothingRunningAndIsRecorded) {
  const std::string upper = "\xC9T\xC9";
  essbase_.Write("app/" + upper + "/" + upper + ".log", "");
  AddServer("Finance", {{"Path", essbase_.Text()}});
  view_.application = "\xE9t\xE9";  // "été" in Windows-1252

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events, Join({StartEvents(upper), {Settings("Finance," + upper)},
                                ReportEnd({"No calcs are currently processing"})}));
  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog(upper));
}

TEST_F(CheckDriverTest, MissingLogReplacesTheReportWithTheFailureLineAndRecordsNothing) {
  AddDirectServer("Finance");
  ASSERT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
  std::filesystem::remove(DirectLog("SAMPLE"));
  view_.events.clear();

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.events, Join({StartEvents(), kFailureEnd}));
  EXPECT_EQ(view_.lines, Lines{std::string(kFailureLine)});
  EXPECT_EQ(driver_.failure_reason().rfind(DirectLog("SAMPLE") + ": ", 0), 0u);
  EXPECT_EQ(driver_.scan_state().intCalcCount, 0);
  EXPECT_TRUE(driver_.scan_state().arrCalcs[0].Database.empty());
}

struct DirectPathCase {
  const char* name;
  const char* server;  // as stored; the check asks for "Finance"
  const char* essbase_path;
  const char* application;
  const char* log_path;
};

class DirectPathTest : public CheckDriverTest, public ::testing::WithParamInterface<DirectPathCase> {};

// Windows' separator, checked where no such file can exist: the path is
// composed as given and the check ends on the failure line.
TEST_P(DirectPathTest, ComposesThePathWithoutTrimming) {
  const DirectPathCase& c = GetParam();
  AddServer(c.server, {{"Path", c.essbase_path}});
  view_.application = c.application;
  CheckDependencies deps = Deps(&settings_);
  deps.path_separator = '\\';
  CheckDriver driver(view_, deps);

  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(driver.strLogPathAndFile(), c.log_path);
  EXPECT_EQ(view_.lines, Lines{std::string(kFailureLine)});
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DirectPathTest,
    ::testing::Values(
        DirectPathCase{"Plain", "Finance", "d:\\essbase", "sample", "d:\\essbase\\app\\SAMPLE\\SAMPLE.log"},
        DirectPathCase{"TrailingSeparatorDoubles", "Finance", "d:\\essbase\\", "sample",
                       "d:\\essbase\\\\app\\SAMPLE\\SAMPLE.log"},
        DirectPathCase{"BlanksKept", "Finance", " d:\\essbase ", " sample", " d:\\essbase \\app\\ SAMPLE\\ SAMPLE.log"},
        DirectPathCase{"EmptyApplication", "Finance", "d:\\essbase", "", "d:\\essbase\\app\\\\.log"},
        DirectPathCase{"ServerNotInTheStore", "Elsewhere", "d:\\essbase", "sample", "\\app\\SAMPLE\\SAMPLE.log"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AccessCase {
  const char* name;
  const char* access;  // nullptr: no value at all
  bool remote;
};

class AccessTest : public CheckDriverTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessTest, OnlyTheExactTextOneSelectsTheApi) {
  AddServer("Finance", {{"Path", essbase_.Text()}, {"DNS", standin::kServer},
                        {"UserName", standin::kUser}, {"Password", standin::kPassword}});
  if (GetParam().access != nullptr) AddServer("Finance", {{"Access", GetParam().access}});

  driver_.cmdOK_Click();

  EXPECT_EQ(!Calls().empty(), GetParam().remote);
  EXPECT_EQ(driver_.strLogPathAndFile(), GetParam().remote ? Copy("Finance", "SAMPLE") : DirectLog("SAMPLE"));
}

INSTANTIATE_TEST_SUITE_P(Values, AccessTest,
                         ::testing::Values(AccessCase{"One", "1", true}, AccessCase{"Missing", nullptr, false},
                                           AccessCase{"Empty", "", false}, AccessCase{"Zero", "0", false},
                                           AccessCase{"LeadingBlank", " 1", false},
                                           AccessCase{"TrailingBlank", "1 ", false},
                                           AccessCase{"LeadingZero", "01", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The stored "Path" is still read for a remote server, though not used.
TEST_F(CheckDriverTest, RemoteServerScansTheCopyDownloadedInTheApiOrder) {
  fixtures_.Write("SAMPLE.log", kRunningCalcLog);
  AddRemoteServer("Finance");
  AddServer("Finance", {{"Path", "d:\\unused"}});

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events, kRunningCalcCheck);
  EXPECT_EQ(driver_.strEssbasePath(), "d:\\unused");
  EXPECT_EQ(driver_.strLogPathAndFile(), Copy("Finance", "SAMPLE"));
  const std::string context = std::to_string(standin::kContext);
  EXPECT_EQ(Calls(), (Lines{InitCall(), LoginCall(),
                            Call("EsbGetLogFile", {context, "SAMPLE", "0", Copy("Finance", "SAMPLE")}),
                            Call("EsbLogout", {context}), TermCall()}));
}

enum class Situation { Exists, Missing, NotAFile, ReadFails, DownloadFails, LibraryIncomplete };

struct OutcomeCase {
  const char* name;
  Situation situation;
  CheckOutcome outcome;
  Lines lines;  // what the list holds at the end
};

class OutcomeTest : public CheckDriverTest, public ::testing::WithParamInterface<OutcomeCase> {
 protected:
  void Prepare(Situation situation) {
    AddServer("Finance", {{"Path", essbase_.Text()}});
    essbase_.Write("app/SAMPLE/keep", "");
    switch (situation) {
      case Situation::Exists:
        essbase_.Write("app/SAMPLE/SAMPLE.log", kRunningCalcLog);
        break;
      case Situation::Missing:
        break;
      case Situation::NotAFile:  // a pipe with no writer: opening it must not wait
      case Situation::ReadFails:  // a file whose reading fails at once
#ifdef _WIN32
        GTEST_SKIP() << "no such file on a Windows folder path";
#else
        if (situation == Situation::NotAFile) {
          ASSERT_EQ(mkfifo(DirectLog("SAMPLE").c_str(), 0600), 0);
        } else {
          std::filesystem::create_symlink("/proc/self/mem", DirectLog("SAMPLE"));
        }
#endif
        break;
      case Situation::DownloadFails:  // the library has no log, and an earlier copy is there
        AddRemoteServer("Finance");
        exe_dir_.Write("Finance_SAMPLE.log", kRunningCalcLog);
        break;
      case Situation::LibraryIncomplete:  // a library without one of its entry points
#ifdef _WIN32
        GTEST_SKIP() << "the loader's own test covers Windows";
#else
        AddRemoteServer("Finance");
        SetEnvironment(kLibraryVariable, KELVARY_INCOMPLETE_LIBRARY);
#endif
        break;
    }
  }
};

// Each way a check can end, with its list line; a failure never shows a
// report, not even of an earlier copy or of the part that could be read.
TEST_P(OutcomeTest, EndsWithItsOwnLines) {
  const OutcomeCase& c = GetParam();
  Prepare(c.situation);
  if (IsSkipped()) return;

  EXPECT_EQ(driver_.cmdOK_Click(), c.outcome);

  EXPECT_EQ(view_.lines, c.lines);
  if (c.outcome == CheckOutcome::Failed) {
    EXPECT_EQ(FailureLine(driver_.failure()), c.lines[0]);
  }
  EXPECT_EQ(driver_.scan_state().intCalcCount, c.outcome == CheckOutcome::Reported ? 1 : 0);
}

const std::string kUnreadableLine = "The application's log could not be read.";
INSTANTIATE_TEST_SUITE_P(
    Situations, OutcomeTest,
    ::testing::Values(
        OutcomeCase{"Exists", Situation::Exists, CheckOutcome::Reported, {kReportLine, kDetailLine}},
        OutcomeCase{"Missing", Situation::Missing, CheckOutcome::Failed, {std::string(kFailureLine)}},
        OutcomeCase{"NotAFile", Situation::NotAFile, CheckOutcome::Failed, {kUnreadableLine}},
        OutcomeCase{"ReadFails", Situation::ReadFails, CheckOutcome::Failed, {kUnreadableLine}},
        OutcomeCase{"DownloadFails", Situation::DownloadFails, CheckOutcome::Failed,
                    {"The server could not send the application's log."}},
        OutcomeCase{"LibraryIncomplete", Situation::LibraryIncomplete, CheckOutcome::Failed,
                    {"The Essbase client library esbapin.dll could not be loaded: the Essbase client "
                     "must be installed and match Kelvary's 32- or 64-bit build."}}),
    [](const auto& info) { return std::string(info.param.name); });

struct HostileApplicationCase {
  const char* name;
  const char* application;
  const char* message;
};

class HostileApplicationTest : public CheckDriverTest,
                               public ::testing::WithParamInterface<HostileApplicationCase> {};

// Refused before anything else, for a direct and a remote server alike: the
// box says why, and nothing is cleared, read, logged in to or recorded.
TEST_P(HostileApplicationTest, IsRefusedBeforeAnyPathOrLogin) {
  fixtures_.Write(std::string(GetParam().application) + ".log", kRunningCalcLog);
  AddDirectServer("Direct");
  AddRemoteServer("Remote");
  for (const char* server : {"Direct", "Remote"}) {
    view_.server = server;
    view_.application = GetParam().application;
    view_.lines = {"the previous report"};
    view_.events.clear();

    EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::NameRefused);

    EXPECT_EQ(view_.events, Lines{std::string("box:") + GetParam().message});
    EXPECT_EQ(view_.lines, Lines{"the previous report"});
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(exe_dir_.Text()), {}), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileApplicationTest,
    ::testing::Values(
        HostileApplicationCase{"BackslashesUp", "\\..\\..\\OUTSIDE",
                               "The application name must not contain the character '\\'."},
        HostileApplicationCase{"SlashesUp", "/../../X/pwn", "The application name must not contain the character '/'."},
        HostileApplicationCase{"Parent", "..", "The application name must not be \"..\"."},
        HostileApplicationCase{"Current", ".", "The application name must not be \".\"."},
        HostileApplicationCase{"Drive", "C:SAMPLE", "The application name must not contain the character ':'."},
        HostileApplicationCase{"Wildcard", "SAM*", "The application name must not contain the character '*'."},
        HostileApplicationCase{"Question", "SAM?", "The application name must not contain the character '?'."},
        HostileApplicationCase{"Quote", "SAM\"", "The application name must not contain the character '\"'."},
        HostileApplicationCase{"Less", "<SAM", "The application name must not contain the character '<'."},
        HostileApplicationCase{"Greater", "SAM>", "The application name must not contain the character '>'."},
        HostileApplicationCase{"Bar", "SA|M", "The application name must not contain the character '|'."},
        HostileApplicationCase{"Tab", "SA\tM", "The application name must not contain a control character (0x09)."},
        HostileApplicationCase{"LineFeed", "SA\nM",
                               "The application name must not contain a control character (0x0A)."}),
    [](const auto& info) { return std::string(info.param.name); });

struct HostileServerCase {
  const char* name;
  const char* server;  // as stored
  const char* copy;    // the local copy's file name
};

class HostileServerTest : public CheckDriverTest, public ::testing::WithParamInterface<HostileServerCase> {};

// A stored name still works, but its copy lands directly in the program's
// folder under a name that a file can hold.
TEST_P(HostileServerTest, CopyStaysInTheProgramsFolder) {
  fixtures_.Write("SAMPLE.log", kRunningCalcLog);
  AddRemoteServer(GetParam().server);
  view_.server = GetParam().server;

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(driver_.strLogPathAndFile(), exe_dir_.File(GetParam().copy));
  EXPECT_EQ(FileContent(exe_dir_.File(GetParam().copy)), kRunningCalcLog);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(exe_dir_.Text()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileServerTest,
    ::testing::Values(HostileServerCase{"SlashesUp", "../../../ESCAPE", ".._.._.._ESCAPE_SAMPLE.log"},
                      HostileServerCase{"BackslashesUp", "..\\..\\ESCAPE", ".._.._ESCAPE_SAMPLE.log"},
                      HostileServerCase{"Parent", "..", ".._SAMPLE.log"},
                      HostileServerCase{"Drive", "C:", "C__SAMPLE.log"},
                      HostileServerCase{"Others", "a*?\"<>|\tb", "a_______b_SAMPLE.log"}),
    [](const auto& info) { return std::string(info.param.name); });

// A name that could still leave the folder is never used for a copy.
TEST(LocalCopyPath, IsEmptyUnlessTheCopyLiesDirectlyInTheFolder) {
  MemoryRegistry registry;
  const CheckDependencies deps{registry, CaseMap::Windows1252(), "d:\\tools", '\\', nullptr, LoadEssbaseLibrary};
  EXPECT_EQ(LocalCopyPath(deps, "a/b", "SAMPLE"), "d:\\tools\\a_b_SAMPLE.log");
  EXPECT_EQ(LocalCopyPath(deps, "Finance", "../X"), "");
  EXPECT_EQ(LocalCopyPath(deps, "Finance", "X\\Y"), "");
}

// A pipe or a device is refused at once, where reading it could wait forever.
TEST(OpenLogForReading, RefusesWhatIsNotAFile) {
#ifdef _WIN32
  const std::vector<std::string> not_files = {"NUL"};
#else
  TempFolder dir;
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  const std::vector<std::string> not_files = {dir.File("fifo"), "/dev/null", "/dev/zero"};
#endif
  for (const std::string& path : not_files) {
    const OpenedLog opened = OpenLogForReading(path);
    EXPECT_EQ(opened.source, nullptr) << path;
    EXPECT_TRUE(opened.not_a_file) << path;
  }
}

const std::string kCannotCheck = "  The status of the calculation can not be checked.";
const std::string kWrongPassword = "The password you have entered is incorrect." + kCannotCheck;
const std::string kUnknownUser = "The user you have entered does not exist." + kCannotCheck;

struct RefusalCase {
  const char* name;
  const char* dns;
  const char* user;
  const char* password;
  std::string message;
  bool known;  // chkCheck disabled and automatic re-checking switched off
};

class RefusedLoginTest : public CheckDriverTest, public ::testing::WithParamInterface<RefusalCase> {};

// The box comes first, the controls after; the API instance is ended all the
// same, and nothing is downloaded or recorded.
TEST_P(RefusedLoginTest, ShowsTheBoxThenSetsTheControlsAndEndsTheInstance) {
  const RefusalCase& c = GetParam();
  AddRemoteServer("Finance", c.dns, c.user, c.password);

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::LoginRefused);

  Lines end = {"box:" + c.message};
  if (c.known) end.insert(end.end(), {"check:off", "timer:off"});
  end.insert(end.end(), {"clear", "ok:on", "exit:on"});
  EXPECT_EQ(view_.events, Join({StartEvents(), end}));
  EXPECT_EQ(Calls(), (Lines{InitCall(), LoginCall(c.dns, c.user, c.password), TermCall()}));
  EXPECT_FALSE(std::filesystem::exists(Copy("Finance", "SAMPLE")));
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, RefusedLoginTest,
    ::testing::Values(
        RefusalCase{"UnknownServer", "nowhere.example.com", standin::kUser, standin::kPassword,
                    "The server you have entered does not exist." + kCannotCheck, true},
        RefusalCase{"WrongPassword", standin::kServer, standin::kUser, "guess", kWrongPassword, true},
        RefusalCase{"UnknownUser", standin::kServer, "mallory", standin::kPassword, kUnknownUser, true},
        RefusalCase{"EmptyUserAndPassword", standin::kServer, "", "", kUnknownUser, true},
        RefusalCase{"OtherStatus", standin::kRefusingServer, standin::kUser, standin::kPassword,
                    "Error:  1051004", false},
        RefusalCase{"NegativeStatus", standin::kFailingServer, standin::kUser, standin::kPassword, "Error:  -12",
                    false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckDriverTest, WindowClosedDuringTheRefusalBoxLeavesTheControlsButEndsTheInstance) {
  AddRemoteServer("Finance", standin::kServer, standin::kUser, "guess");
  view_.box_answer = false;

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Abandoned);

  EXPECT_EQ(view_.events, Join({StartEvents(), {"box:" + kWrongPassword}}));
  EXPECT_EQ(Calls().back(), TermCall());
}

TEST_F(CheckDriverTest, LibraryThatCannotBeLoadedEndsOnItsOwnFailureLine) {
  AddRemoteServer("Finance");
  CheckDependencies deps = Deps(&settings_);
  deps.load_essbase = [] { return LoadedEssbase{nullptr, "esbapin.dll cannot be loaded, error 126"}; };
  CheckDriver driver(view_, deps);

  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Failed);

  const std::string library_line(FailureLine(CheckFailure::LibraryUnavailable));
  EXPECT_EQ(view_.events, Join({StartEvents(), {"clear", "line:" + library_line, "ok:on", "exit:on", "yield"}}));
  EXPECT_EQ(driver.failure_reason(), "esbapin.dll cannot be loaded, error 126");
  EXPECT_TRUE(Calls().empty());
}

TEST_F(CheckDriverTest, NoSettingsFileRecordsNothingAndNoTickShowsNoDetail) {
  AddDirectServer("Finance");
  view_.detail = false;
  CheckDriver driver(view_, Deps(nullptr));

  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events, Join({StartEvents(), kScan, ReportEnd({kReportLine})}));
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
  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog("SAMPLE"));
  view_.on_yield = [] { return true; };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed) << "the next check takes the new choice";
}

// During the scan the window gets its events only once a yield interval has
// passed since the last yield; the yields after the progress lines and at the
// end come whatever the time.
TEST_F(CheckDriverTest, ScanYieldsByTimeNotByHeader) {
  AddDirectServer("Finance");
  using std::chrono::milliseconds;
  const struct {
    milliseconds step;  // how far the clock moves at each reading
    int scan_yields;    // of the three headers parsed
  } cases[] = {{milliseconds(0), 0}, {milliseconds(5), 1}, {milliseconds(14), 1},
               {milliseconds(15), 3}, {milliseconds(40), 3}};
  for (const auto& c : cases) {
    clock_step_ = c.step;
    view_.events.clear();
    CheckDriver driver(view_, Deps(&settings_));
    EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Reported);
    EXPECT_EQ(view_.events, Join({StartEvents(), {Settings("Finance,SAMPLE")}, Lines(c.scan_yields, "yield"),
                                  ReportEnd({kReportLine, kDetailLine})}))
        << c.step.count() << " ms";
  }
}

class AbandonTest : public CheckDriverTest, public ::testing::WithParamInterface<int> {};

// The window closes at the n-th yield: nothing touches the view after it.
TEST_P(AbandonTest, ClosedWindowIsNotTouchedAgain) {
  AddDirectServer("Finance");
  const int closing_yield = GetParam();
  int yields = 0;
  std::size_t events_at_close = 0;
  view_.on_yield = [&] {
    if (++yields < closing_yield) return true;
    events_at_close = view_.events.size();
    return false;
  };

  const CheckOutcome outcome = driver_.cmdOK_Click();

  EXPECT_EQ(outcome, closing_yield == kCheckYields ? CheckOutcome::Reported : CheckOutcome::Abandoned);
  EXPECT_EQ(view_.events.size(), events_at_close);
  EXPECT_EQ(view_.events.back(), "yield");
  // A later check (a window kept alive) runs normally.
  view_.on_yield = [] { return true; };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
}

// 1: after "Connecting", 2: after "Searching", 3-5: in the scan, 6: the last.
INSTANTIATE_TEST_SUITE_P(Yields, AbandonTest, ::testing::Range(1, kCheckYields + 1));

}  // namespace
}  // namespace kelvary::test
