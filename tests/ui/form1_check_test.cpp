// Running a check from the window: the keys, what the window looks like
// while the check yields, ticks and a close that arrive meanwhile; and the
// settings file every way of closing leaves behind.
#include "form1_fixture.h"
#include "support/posted_probe_win32.h"

namespace kelvary::test {
namespace {


const std::vector<std::string> kConnecting = {"Connecting to server..."};

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

// A tick runs a check. One that finds the same lines leaves the list where
// it was scrolled, with its line picked; other lines come with none picked.
TEST_F(Form1CheckTest, TimerTickRunsACheckThatKeepsTheListsPlaceForTheSameLines) {
  Click(form1::chkDetail);
  SendMessageA(Window(), WM_TIMER, form1::kTimer1Id, 0);
  ASSERT_GE(Report().size(), 9u) << "the demo's report with detail";
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

struct CloseCase {
  const char* how;
  void (*close)(HWND window);
};

class Form1ClosingTest : public Form1Test, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Form1ClosingTest, WritesServerCommaApplicationAndEndsTheProgram) {
  AddDemoServer();
  AddServer("Prod", "\\\\essbase01\\Essbase");
  Open();
  SelectServer("Prod");
  SetAppText("Budget");
  GetParam().close(Window());
  Pump();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Ini(), "Prod,Budget\r\n");
  EXPECT_TRUE(QuitPosted());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Form1ClosingTest,
    ::testing::Values(
        CloseCase{"CloseButton", [](HWND w) { SendMessageA(GetDlgItem(w, form1::cmdExit), BM_CLICK, 0, 0); }},
        CloseCase{"Esc",
                  [](HWND w) {
                    SetFocus(GetDlgItem(w, form1::txtApp));
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
                  }},
        CloseCase{"CloseBox", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseCase{"SessionEnds",
                  [](HWND w) {
                    if (SendMessageA(w, WM_QUERYENDSESSION, 0, 0)) SendMessageA(w, WM_ENDSESSION, TRUE, 0);
                  }}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.how); });

}  // namespace
}  // namespace kelvary::test
