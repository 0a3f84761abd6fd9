// Running a check from the window: the keys, the report of the demo log,
// what the window looks like while the check yields, a timer tick and a
// close that arrive meanwhile, and the copy of the report.
#include <chrono>
#include <thread>

#include "form1_fixture.h"
#include "support/posted_probe_win32.h"
#include "ui/resource_ids.h"

namespace kelvary::test {
namespace {

const std::vector<std::string> kDemoDetailReport = {
    "BASIC (4 out of 10) - Started at 01:41 pm by admin",
    "  >> 1/10:  13:44",
    "  >> 2/10:  WED JAN 08 13:48:30 2003",
    "  >> 3/4:  WED JAN 08 14:05:09 2003",
    "  >> 4/4:  WED JAN 08 14:12:38 2003",
    "FORECAST (2 out of 4) - Started at 02:02 pm by jsmith",
    "  >> 1/4:  14:09",
    "  >> 2/4:  WED JAN 08 14:17:55 2003",
    "BUDGET (0 out of 0) - Started at 03:40 pm by qatest",
};
const std::vector<std::string> kConnecting = {"Connecting to server..."};
const std::vector<std::string> kFailure = {"The application does not exist on this server."};

// A log whose scan takes many yield intervals: one calculation followed by
// a completion notice on every other line, each with a header to parse.
std::string BusyLog(int notices) {
  const std::string header = "[Wed Jan 08 14:05:09 2003]Local/BUSY/Sales/admin/Info(1012555)\r\n";
  std::string log = header + "Calculating [ Measures(All members) ]\r\n";
  const std::string notice = header + "Calculator Information Message: Completion Notice\r\n";
  log.reserve(log.size() + notice.size() * static_cast<std::size_t>(notices));
  for (int i = 0; i < notices; ++i) log += notice;
  return log;
}

// The window as a probe saw it during a yield.
struct Sighting {
  bool ok_enabled = true;
  bool exit_enabled = true;
  std::vector<std::string> lines;
  std::string application;
};

class Form1CheckTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    SetAppText("sample");
  }

  // The next yield of whatever runs now records what the window shows.
  void SightAtNextYield() {
    probe_.Post([this] {
      sighting_ = {Enabled(form1::cmdOK), Enabled(form1::cmdExit), Report(), AppText()};
    });
  }

  // The window reopened on a server "Busy" whose log holds BusyLog(notices).
  void OpenOnBusyLog(int notices) {
    busy_essbase_.Write("app/BUSY/BUSY.log", BusyLog(notices));
    AddServer("Busy", busy_essbase_.Text());
    Reopen(folder_.Text());
    SelectServer("Busy");
    SetAppText("busy");
  }

  void ClearReport() { SendMessageA(Control(form1::lstCalcs), LB_RESETCONTENT, 0, 0); }

  std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }

  PostedProbe probe_;
  Sighting sighting_;
  TempFolder busy_essbase_;
};

TEST_F(Form1CheckTest, CheckDisablesTheButtonsWhileItYieldsThenShowsTheReportAndRecordsTheQuery) {
  SightAtNextYield();
  Click(form1::cmdOK);
  ASSERT_TRUE(probe_.Ran());
  EXPECT_FALSE(sighting_.ok_enabled);
  EXPECT_FALSE(sighting_.exit_enabled);
  EXPECT_EQ(sighting_.lines, kConnecting);
  EXPECT_EQ(sighting_.application, "SAMPLE");
  EXPECT_EQ(Report(), kDemoReport);
  EXPECT_TRUE(Enabled(form1::cmdOK));
  EXPECT_TRUE(Enabled(form1::cmdExit));
  EXPECT_EQ(Ini(), "Demo,SAMPLE\r\n");
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Ini(), "Demo,SAMPLE\r\n");
}

TEST_F(Form1CheckTest, DetailBoxAddsTheNoticeLines) {
  Click(form1::chkDetail);
  Click(form1::cmdOK);
  EXPECT_EQ(Report(), kDemoDetailReport);
}

TEST_F(Form1CheckTest, FailedCheckReplacesTheReportWithTheFailureLineAndLeavesTheFile) {
  Click(form1::cmdOK);
  SetAppText("nosuchapp");
  Click(form1::cmdOK);
  EXPECT_EQ(Report(), kFailure);
  EXPECT_EQ(Ini(), "Demo,SAMPLE\r\n");
}

// Nothing is read, written or cleared: the box names the character, and the
// previous report and the remembered query stay.
TEST_F(Form1CheckTest, ApplicationNameThatIsNotPlainIsRefusedInABox) {
  Click(form1::cmdOK);
  SetAppText("..\\..\\outside");
  ExpectOneBox(BoxesShownBy([this] { Click(form1::cmdOK); }), "Kelvary",
               "The application name must not contain the character '\\'.", true);
  EXPECT_EQ(Report(), kDemoReport);
  EXPECT_EQ(AppText(), "..\\..\\outside");
  EXPECT_EQ(Ini(), "Demo,SAMPLE\r\n");
  EXPECT_TRUE(Enabled(form1::cmdOK));
}

TEST_F(Form1CheckTest, EnterRunsTheCheckUnlessTheFocusIsOnAnotherPushButton) {
  for (int focus : {form1::txtApp, form1::chkDetail}) {
    ClearReport();
    SetFocus(Control(focus));
    PressKey(VK_RETURN);
    EXPECT_EQ(Report(), kDemoReport) << focus;
  }
  SetAppText("other");
  SetFocus(Control(form1::cmdExit));
  PressKey(VK_RETURN);
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Ini(), "Demo,other\r\n");
}

TEST_F(Form1CheckTest, EnterAndEscDoNothingWhileTheCheckRuns) {
  SetFocus(Control(form1::txtApp));
  PostKey(VK_ESCAPE);
  PostKey(VK_RETURN);
  SightAtNextYield();  // after the keys: they have been handled by then
  Click(form1::cmdOK);
  ASSERT_TRUE(probe_.Ran());
  EXPECT_EQ(sighting_.lines, kConnecting);
  ASSERT_NE(Window(), nullptr);
  EXPECT_EQ(Report(), kDemoReport);
}

// A tick runs a check. One that finds the same lines leaves the list where
// it was scrolled, with its line picked; other lines come with none picked.
TEST_F(Form1CheckTest, TimerTickRunsACheckThatKeepsTheListsPlaceForTheSameLines) {
  Click(form1::chkDetail);
  SendMessageA(Window(), WM_TIMER, form1::kTimer1Id, 0);
  EXPECT_EQ(Report(), kDemoDetailReport);
  HWND list = Control(form1::lstCalcs);
  SendMessageA(list, LB_SETCURSEL, 5, 0);
  SendMessageA(list, LB_SETTOPINDEX, 3, 0);
  SendMessageA(Window(), WM_TIMER, form1::kTimer1Id, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 5);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 3);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  Click(form1::chkDetail);
  SendMessageA(Window(), WM_TIMER, form1::kTimer1Id, 0);
  EXPECT_EQ(Report(), kDemoReport);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(Form1CheckTest, TimerTickDuringACheckIsSkipped) {
  PostMessageA(Window(), WM_TIMER, form1::kTimer1Id, 0);
  SightAtNextYield();  // after the tick
  Click(form1::cmdOK);
  ASSERT_TRUE(probe_.Ran());
  // A nested check would have finished here, with its report and both
  // buttons enabled again.
  EXPECT_FALSE(sighting_.ok_enabled);
  EXPECT_EQ(sighting_.lines, kConnecting);
  EXPECT_EQ(Report(), kDemoReport);
}

// A report of hundreds of lines is shown in one go, not repainted line by
// line: well within a second of the click. (The detail keeps the first and
// the latest notices of a calculation, so 300 notices make some 200 lines.)
TEST_F(Form1CheckTest, LongReportAppearsAtOnce) {
  OpenOnBusyLog(300);
  Click(form1::chkDetail);
  const auto start = std::chrono::steady_clock::now();
  Click(form1::cmdOK);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const std::vector<std::string> report = Report();
  ASSERT_GT(report.size(), 200u);
  EXPECT_EQ(report.back(), "  >> 300/0:  WED JAN 08 14:05:09 2003");
  EXPECT_LT(elapsed, std::chrono::milliseconds(600));
}

// The scan yields by time: while a long check runs, the window's events are
// still handled. Timer1, ticking all the while, starts no second check; a
// close after some yields ends the check quietly, and the program with it.
TEST_F(Form1CheckTest, LongCheckStillTakesInputSkipsTicksAndEndsQuietlyOnClose) {
  OpenOnBusyLog(400000);
  SetTimer(Window(), form1::kTimer1Id, 1, nullptr);
  std::vector<Sighting> scanning;  // what each yield of the scan showed
  probe_.Repeat(1, [this, &scanning] {
    if (Report() != std::vector<std::string>{"Searching log file..."}) return;
    scanning.push_back({Enabled(form1::cmdOK), Enabled(form1::cmdExit), Report(), AppText()});
    if (scanning.size() == 3) PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  Click(form1::cmdOK);
  probe_.Stop();
  ASSERT_GE(scanning.size(), 3u);
  for (const Sighting& seen : scanning) EXPECT_FALSE(seen.ok_enabled || seen.exit_enabled);
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Ini(), "Busy,BUSY\r\n");
  EXPECT_TRUE(QuitPosted());
}

TEST_F(Form1CheckTest, CheckBoxSwitchesTimer1) {
  Click(form1::chkCheck);
  EXPECT_TRUE(form_->Timer1Enabled());
  EXPECT_TRUE(KillTimer(Window(), form1::kTimer1Id)) << "a Windows timer runs";
  SetTimer(Window(), form1::kTimer1Id, form1::kTimer1IntervalMs, nullptr);
  Click(form1::chkCheck);
  EXPECT_FALSE(form_->Timer1Enabled());
  EXPECT_FALSE(KillTimer(Window(), form1::kTimer1Id)) << "the Windows timer is gone";
}

TEST_F(Form1CheckTest, CloseBoxDuringACheckWritesTheFileEndsTheCheckAndTheProgram) {
  PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  // The command Enter and the button send: the check starts at once and
  // meets the close at its first yield.
  SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(form1::cmdOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(form1::cmdOK)));
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Ini(), "Demo,SAMPLE\r\n");
  EXPECT_TRUE(QuitPosted());
}

TEST_F(Form1CheckTest, CopyPutsCrLfThenEachLineAndCrLfOnTheClipboard) {
  Menu(IDM_EDIT_COPY);
  EXPECT_EQ(ClipboardText(), "\r\n");
  Click(form1::cmdOK);
  Menu(IDM_EDIT_COPY);
  std::string expected = "\r\n";
  for (const std::string& line : kDemoReport) expected += line + "\r\n";
  EXPECT_EQ(ClipboardText(), expected);
}

TEST_F(Form1CheckTest, CopyWhileAnotherProgramHoldsTheClipboardSaysSo) {
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(held);
    WaitForSingleObject(release, INFINITE);
    CloseClipboard();
  });
  WaitForSingleObject(held, INFINITE);
  const std::vector<SeenMessageBox> seen = BoxesShownBy([this] { Menu(IDM_EDIT_COPY); });
  SetEvent(release);
  holder.join();
  CloseHandle(held);
  CloseHandle(release);
  ExpectOneBox(seen, "Kelvary", "Kelvary could not open the clipboard.", true);
  EXPECT_NE(Window(), nullptr);
}

TEST_F(Form1CheckTest, NewWindowThatCannotStartSaysSo) {
  Reopen((folder_.path() / "no program here").string());
  ExpectOneBox(BoxesShownBy([this] { Click(form1::cmdNewWindow); }), "Kelvary",
               "Kelvary could not start a new window.", true);
}

}  // namespace
}  // namespace kelvary::test
