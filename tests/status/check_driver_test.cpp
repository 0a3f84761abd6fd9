// One check, seen from the window: every visible change in its order, for
// servers read directly and through the stand-in Essbase library.
#include "status/check_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote_fixture.h"
#include "ui/settings_file.h"

namespace kelvary::test {
namespace {

// A running SALES calculation by admin, started at 14:05, with one of ten
// notices. Three lines make the scanner parse a header, so it yields three times.
const std::vector<std::string> kRunningCalcLog = {
    "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Sales/admin/Info(1012555)",
    "Calculating [ Measures(All members) ] with fixed members [Year(Jan)]",
    "[Wed Jan 08 14:05:10 2003]Local/SAMPLE/Sales/admin/Info(1012672)",
    "Calculation notice: Completion Notice For Every: [ 10%] Of Blocks",
    "[Wed Jan 08 14:06:11 2003]Local/SAMPLE/Sales/admin/Info(1012669)",
    "Calculator Information Message: Completion Notice For Sales",
};
const std::string kReportLine = "SALES (1 out of 10) - Started at 02:05 pm by admin";
const std::string kDetailLine = "  >> 1/10:  14:06";
constexpr int kScanYields = 3;

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Settings writes appear among the view's events, so their moment is seen.
class JournalSettingsAccess final : public SettingsFileAccess {
 public:
  explicit JournalSettingsAccess(std::vector<std::string>& journal) : journal_(journal) {}
  ReadStatus ReadAll(const std::string&, std::string&) override { return ReadStatus::Failed; }
  void CreateNew(const std::string&, std::string_view) override {}
  void Replace(const std::string& path, std::string_view content) override {
    journal_.push_back("settings:" + path + ":" + std::string(content));
  }

 private:
  std::vector<std::string>& journal_;
};

const std::string kIniPath = "C:\\Tools\\Kelvary.ini";

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<std::string> kStart = {"clear", "line:Connecting to server...", "ok:off", "exit:off",
                                         "app:SAMPLE", "yield", "clear", "line:Searching log file...",
                                         "yield"};
const std::vector<std::string> kScan(kScanYields, "yield");
const std::vector<std::string> kFailureEnd = {"clear", "line:The application does not exist on this server.",
                                              "ok:on", "exit:on", "yield"};

std::vector<std::string> ReportEnd(const std::vector<std::string>& lines) {
  std::vector<std::string> end = {"clear"};
  for (const std::string& line : lines) end.push_back("line:" + line);
  end.insert(end.end(), {"ok:on", "exit:on", "yield"});
  return end;
}

class CheckDriverTest : public RemoteFixture {
 protected:
  CheckDriverTest() : settings_access_(view_.events), settings_(settings_access_, kIniPath) {
    view_.server = "Finance";
    view_.application = "sample";
    view_.detail = true;
  }

  // A direct server whose Essbase directory holds SAMPLE's log.
  void AddDirectServer(const std::string& name) {
    essbase_.Write("app/SAMPLE/SAMPLE.log", CrLf(kRunningCalcLog));
    AddServer(name, {{"Path", essbase_.path()}, {"Access", "0"}});
  }

  // Where the check looks for an application's log under essbase_.
  std::string DirectLog(const std::string& application) const {
    const std::string sep(1, kNativePathSeparator);
    return essbase_.path() + sep + "app" + sep + application + sep + application + ".log";
  }

  std::string Settings(const std::string& line) const { return "settings:" + kIniPath + ":" + line + "\r\n"; }

  RecordingView view_;
  JournalSettingsAccess settings_access_;
  SettingsFile settings_;
  TempDir essbase_;
  CheckDriver driver_{view_, Deps(&settings_)};
};

TEST_F(CheckDriverTest, DirectServerShowsProgressThenTheReport) {
  AddDirectServer("Finance");

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events,
            Join({kStart, {Settings("Finance,SAMPLE")}, kScan, ReportEnd({kReportLine, kDetailLine})}));
  EXPECT_EQ(driver_.strEssbasePath(), essbase_.path());
  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog("SAMPLE"));
  EXPECT_EQ(driver_.scan_state().intCalcCount, 1);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(CheckDriverTest, DetailLinesFollowTheTick) {
  AddDirectServer("Finance");
  view_.detail = false;

  driver_.cmdOK_Click();

  EXPECT_EQ(view_.lines, std::vector<std::string>{kReportLine});
}

TEST_F(CheckDriverTest, ApplicationIsUpperCasedInTheCodePage) {
  essbase_.Write("app/\xC9T\xC9/\xC9T\xC9.log", "");
  AddServer("Finance", {{"Path", essbase_.path()}});
  view_.application = "\xE9t\xE9";  // "été" in Windows-1252

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.application, "\xC9T\xC9");
  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog("\xC9T\xC9"));
}

TEST_F(CheckDriverTest, EmptyLogReportsNothingRunningAndIsStillRecorded) {
  essbase_.Write("app/SAMPLE/SAMPLE.log", "");
  AddServer("Finance", {{"Path", essbase_.path()}});

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events,
            Join({kStart, {Settings("Finance,SAMPLE")}, ReportEnd({"No calcs are currently processing"})}));
}

TEST_F(CheckDriverTest, MissingLogEndsOnTheFailureLineWithoutRecording) {
  AddServer("Finance", {{"Path", essbase_.path()}});

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.events, Join({kStart, kFailureEnd}));
  EXPECT_EQ(driver_.failure_reason().rfind(DirectLog("SAMPLE") + ": ", 0), 0u);
}

TEST_F(CheckDriverTest, FailureReplacesThePreviousReportAndEmptiesTheTable) {
  AddDirectServer("Finance");
  ASSERT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
  ASSERT_EQ(driver_.scan_state().intCalcCount, 1);
  view_.application = "other";

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.lines, std::vector<std::string>{std::string(kFailureLine)});
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
// Test names say which case failed; gtest would print the bytes.
void PrintTo(const DirectPathCase& c, std::ostream* out) { *out << c.name; }


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
  EXPECT_EQ(view_.lines, std::vector<std::string>{std::string(kFailureLine)});
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
// Test names say which case failed; gtest would print the bytes.
void PrintTo(const AccessCase& c, std::ostream* out) { *out << c.name; }


class AccessTest : public CheckDriverTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessTest, OnlyTheExactTextOneSelectsTheApi) {
  AddServer("Finance", {{"Path", essbase_.path()}, {"DNS", standin::kServer},
                        {"UserName", standin::kUser}, {"Password", standin::kPassword}});
  if (GetParam().access != nullptr) AddServer("Finance", {{"Access", GetParam().access}});

  driver_.cmdOK_Click();

  EXPECT_EQ(!Calls().empty(), GetParam().remote);
  EXPECT_EQ(driver_.strLogPathAndFile(),
            GetParam().remote ? Copy("Finance", "SAMPLE") : DirectLog("SAMPLE"));
}

INSTANTIATE_TEST_SUITE_P(Values, AccessTest,
                         ::testing::Values(AccessCase{"One", "1", true}, AccessCase{"Missing", nullptr, false},
                                           AccessCase{"Empty", "", false}, AccessCase{"Zero", "0", false},
                                           AccessCase{"LeadingBlank", " 1", false},
                                           AccessCase{"TrailingBlank", "1 ", false},
                                           AccessCase{"LeadingZero", "01", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckDriverTest, RemoteServerScansTheDownloadedCopy) {
  fixtures_.Write("SAMPLE.log", CrLf(kRunningCalcLog));
  AddRemoteServer("Finance");
  AddServer("Finance", {{"Path", "d:\\unused"}});

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events,
            Join({kStart, {Settings("Finance,SAMPLE")}, kScan, ReportEnd({kReportLine, kDetailLine})}));
  EXPECT_EQ(driver_.strEssbasePath(), "d:\\unused");
  EXPECT_EQ(driver_.strLogPathAndFile(), Copy("Finance", "SAMPLE"));
  ASSERT_EQ(Calls().size(), 5u);
  EXPECT_EQ(Calls()[1], LoginCall());
}

TEST_F(CheckDriverTest, RemoteDownloadWithoutACopyEndsOnTheFailureLine) {
  AddRemoteServer("Finance");

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.events, Join({kStart, kFailureEnd}));
}

TEST_F(CheckDriverTest, FailedDownloadScansAnEarlierCopy) {
  AddRemoteServer("Finance");
  exe_dir_.Write("Finance_SAMPLE.log", CrLf(kRunningCalcLog));

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.lines, (std::vector<std::string>{kReportLine, kDetailLine}));
}

TEST_F(CheckDriverTest, KnownRefusalShowsTheBoxAndSwitchesAutomaticCheckingOff) {
  AddRemoteServer("Finance", standin::kServer, standin::kUser, "guess");

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::LoginRefused);

  EXPECT_EQ(view_.events,
            Join({kStart,
                  {"box:The password you have entered is incorrect.  The status of the calculation can not be checked.",
                   "check:off", "timer:off", "clear", "ok:on", "exit:on"}}));
  EXPECT_EQ(Calls().back(), TermCall());
}

TEST_F(CheckDriverTest, OtherRefusalLeavesAutomaticCheckingAlone) {
  AddRemoteServer("Finance", standin::kRefusingServer);

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::LoginRefused);

  EXPECT_EQ(view_.events, Join({kStart, {"box:Error:  1051004", "clear", "ok:on", "exit:on"}}));
}

TEST_F(CheckDriverTest, LibraryThatCannotBeLoadedEndsOnTheFailureLine) {
  AddRemoteServer("Finance");
  CheckDependencies deps = Deps(&settings_);
  deps.load_essbase = [] { return LoadedEssbase{nullptr, "esbapin.dll cannot be loaded, error 126"}; };
  CheckDriver driver(view_, deps);

  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.events, Join({kStart, kFailureEnd}));
  EXPECT_EQ(driver.failure_reason(), "esbapin.dll cannot be loaded, error 126");
}

TEST_F(CheckDriverTest, NoSettingsFileMeansNothingIsRecorded) {
  AddDirectServer("Finance");
  CheckDriver driver(view_, Deps(nullptr));

  EXPECT_EQ(driver.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(view_.events, Join({kStart, kScan, ReportEnd({kReportLine, kDetailLine})}));
}

TEST_F(CheckDriverTest, ServerAndApplicationAreTakenOnceAtTheStart) {
  AddDirectServer("Finance");
  int yields = 0;
  view_.on_yield = [&] {
    if (++yields == 1) {
      view_.server = "Elsewhere";
      view_.application = "other";
    }
    return true;
  };

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(driver_.strLogPathAndFile(), DirectLog("SAMPLE"));
  EXPECT_EQ(view_.lines.front(), kReportLine);
}

// A timer tick handled during a yield calls the handler again: it must not
// start a second check, at any of the check's yields.
TEST_F(CheckDriverTest, CheckAskedForDuringACheckDoesNothing) {
  AddDirectServer("Finance");
  std::vector<CheckOutcome> nested;
  view_.on_yield = [&] {
    const std::size_t before = view_.events.size();
    nested.push_back(driver_.cmdOK_Click());
    EXPECT_EQ(view_.events.size(), before);
    return true;
  };

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);

  EXPECT_EQ(nested, std::vector<CheckOutcome>(2 + kScanYields + 1, CheckOutcome::Skipped));
  EXPECT_EQ(view_.events,
            Join({kStart, {Settings("Finance,SAMPLE")}, kScan, ReportEnd({kReportLine, kDetailLine})}));

  view_.on_yield = [] { return true; };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
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

  EXPECT_EQ(outcome, closing_yield == 2 + kScanYields + 1 ? CheckOutcome::Reported : CheckOutcome::Abandoned);
  EXPECT_EQ(view_.events.size(), events_at_close);
  EXPECT_EQ(view_.events.back(), "yield");
  // A later check (a window kept alive) runs normally.
  view_.on_yield = [] { return true; };
  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Reported);
}

// 1: after "Connecting", 2: after "Searching", 3-5: in the scan, 6: the last.
INSTANTIATE_TEST_SUITE_P(Yields, AbandonTest, ::testing::Range(1, 2 + kScanYields + 2));

TEST_F(CheckDriverTest, ClosedDuringTheFailureYieldEndsThere) {
  AddServer("Finance", {{"Path", essbase_.path()}});
  int yields = 0;
  view_.on_yield = [&] { return ++yields < 3; };

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Failed);

  EXPECT_EQ(view_.events, Join({kStart, kFailureEnd}));
}

TEST_F(CheckDriverTest, ClosedDuringTheRefusalBoxLeavesTheControls) {
  AddRemoteServer("Finance", standin::kServer, "mallory");
  view_.box_answer = false;

  EXPECT_EQ(driver_.cmdOK_Click(), CheckOutcome::Abandoned);

  EXPECT_EQ(view_.events.back().rfind("box:", 0), 0u);
}

}  // namespace
}  // namespace kelvary::test
