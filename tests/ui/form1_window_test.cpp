// The real main window in this test's process, as the user meets it: what
// only a real window shows; then the version record Kelvary.exe carries.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <utility>

#include "form1_fixture.h"
#include "ui/finish_notice_win32.h"
#include "ui/version_record_win32.h"

namespace kelvary::test {
namespace {

// Twips / 15 at 96 DPI.
const ExpectedControl kControls[] = {
    {form1::Label1, "Static", "Server:", {8, 8, 41, 17}},
    {form1::cboServers, "ComboBox", "Demo", {56, 8, 209, 21}},  // the one server, selected
    {form1::Label2, "Static", "Application:", {8, 40, 81, 17}},
    {form1::txtApp, "Edit", "", {96, 40, 233, 19}},
    {form1::chkCheck, "Button", "Automatically Re-Check Kelvary Every 30 Seconds", {8, 64, 326, 16}},
    {form1::chkDetail, "Button", "Show Detail on Calculation Intervals", {8, 88, 289, 13}},
    {form1::lstCalcs, "ListBox", "", {8, 112, 329, 69}},
    {form1::cmdNewWindow, "Button", "Open New Window", {8, 192, 113, 25}},
    {form1::cmdExit, "Button", "Close", {144, 192, 73, 25}},
    {form1::cmdOK, "Button", "Check Calculation", {224, 192, 113, 25}},
};

class Form1LayoutTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    ASSERT_EQ(GetDpiForWindow(Window()), 96u) << "the test prefix runs at 100 %";
  }

};

// A fixed window with a minimize button; the focus starts on the server list,
// a drop-down list that takes no typed names.
TEST_F(Form1LayoutTest, ControlsHaveTheirClassCaptionPlaceAndFontAt96DpiAndAgainAt150Percent) {
  ExpectControls(Window(), kControls);
  EXPECT_EQ(TextOf(Window()), "Kelvary");
  EXPECT_FALSE(GetWindowLongPtrA(Window(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrA(Window(), GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_EQ(FocusId(), form1::cboServers);
  EXPECT_EQ(GetWindowLongPtrA(Control(form1::cboServers), GWL_STYLE) & 0x3, CBS_DROPDOWNLIST);
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 351, 227}));  // 5265 by 3405 twips
  EXPECT_EQ(FontOf(Control(form1::Label1)).lfHeight, -11);
  EXPECT_STREQ(FontOf(Control(form1::Label1)).lfFaceName, "MS Shell Dlg 2");

  RECT suggested{};
  GetWindowRect(Window(), &suggested);
  SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  // Twips / 10 at 144 DPI, halves rounded up.
  EXPECT_EQ(ChildRect(Control(form1::cboServers)), (PixelRect{84, 12, 314, 32}));
  EXPECT_EQ(ChildRect(Control(form1::chkDetail)), (PixelRect{12, 132, 434, 20}));
  EXPECT_EQ(ChildRect(Control(form1::cmdOK)), (PixelRect{336, 288, 170, 38}));
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 527, 341}));
  EXPECT_EQ(FontOf(Control(form1::cmdOK)).lfHeight, -16);
}

// Tab walks the focus order and comes back around; the thick border is on
// the button Enter presses, wherever the focus goes.
TEST_F(Form1LayoutTest, TabWalksTheFocusOrderAndTheDefaultButtonLookFollowsTheFocus) {
  SetFocus(Control(form1::cboServers));
  const int order[] = {form1::txtApp, form1::chkCheck, form1::lstCalcs, form1::cmdExit,
                       form1::cmdOK, form1::cmdNewWindow, form1::chkDetail, form1::cboServers};
  for (int expected : order) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusId(), expected);
  }
  const struct {
    int focus, default_button;
  } moves[] = {{form1::cmdExit, form1::cmdExit},   {form1::txtApp, form1::cmdOK},
               {form1::cmdNewWindow, form1::cmdNewWindow}, {form1::cmdExit, form1::cmdExit},
               {form1::lstCalcs, form1::cmdOK},    {form1::cmdOK, form1::cmdOK}};
  for (const auto& move : moves) {
    SetFocus(Control(move.focus));
    Pump();
    for (int button : {form1::cmdNewWindow, form1::cmdExit, form1::cmdOK}) {
      const LONG_PTR type = GetWindowLongPtrA(Control(button), GWL_STYLE) & BS_TYPEMASK;
      EXPECT_EQ(type, button == move.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)
          << "focus " << move.focus << ", button " << button;
    }
    EXPECT_EQ(LOWORD(SendMessageA(Window(), DM_GETDEFID, 0, 0)), move.default_button);
  }
}

class Form1CheckTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    SetAppText("sample");
  }

  // The window reopened on a server "Busy" of a log of its own.
  void OpenOnBusyLog() {
    AddServer("Busy", busy_essbase_.Text());
    Reopen();
    SelectServer("Busy");
    SetAppText("busy");
  }

  TempFolder busy_essbase_;
};

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
  EXPECT_EQ(Report(), (std::vector<std::string>{"BASIC (4 out of 10) - Started at 01:41 pm by admin",
                                                "FORECAST (2 out of 4) - Started at 02:02 pm by jsmith",
                                                "BUDGET (0 out of 0) - Started at 03:40 pm by qatest"}));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

// Each way of closing writes "server,application" and ends the program.
TEST_F(Form1Test, EveryWayOfClosingWritesTheQueryAndEndsTheProgram) {
  const std::pair<const char*, void (*)(HWND)> ways[] = {
      {"Close button", [](HWND w) { SendMessageA(GetDlgItem(w, form1::cmdExit), BM_CLICK, 0, 0); }},
      {"Esc", [](HWND w) {
         SetFocus(GetDlgItem(w, form1::txtApp));
         PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
       }},
      {"close box", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"session end", [](HWND w) {
         if (SendMessageA(w, WM_QUERYENDSESSION, 0, 0)) SendMessageA(w, WM_ENDSESSION, TRUE, 0);
       }}};
  AddDemoServer();
  AddServer("Prod", "\\\\essbase01\\Essbase");
  for (const auto& [way, close] : ways) {
    Open();
    SelectServer("Prod");
    SetAppText(way);
    close(Window());
    Pump();
    EXPECT_EQ(Window(), nullptr) << way;
    EXPECT_EQ(Ini(), "Prod," + std::string(way) + "\r\n");
    EXPECT_TRUE(QuitPosted()) << way;
    form_.reset();
  }
}

const std::string kHeader = "[Wed Jan 08 10:00:00 2003]Local/BUSY/Basic/admin/Info(1012555)\r\n";
const std::string kRunning = kHeader + "Calculating [ Measures(Sales)]\r\n";
const std::string kFinished = kRunning + kHeader + "Total Calc Elapsed Time : [734] seconds\r\n";

// What the list was told while the check ran: the lines that went in with
// its redrawing switched off, and the room it was asked to reserve.
struct ListAdditions {
  bool redraw_off = false;
  int lines_unseen = 0;
  WPARAM reserved_lines = 0;
};

LRESULT CALLBACK CountAdditions(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR counts) {
  auto& additions = *reinterpret_cast<ListAdditions*>(counts);
  if (message == WM_SETREDRAW) additions.redraw_off = !wparam;
  if (message == LB_INITSTORAGE) additions.reserved_lines = wparam;
  if ((message == LB_ADDSTRING || message == LB_INSERTSTRING) && additions.redraw_off) ++additions.lines_unseen;
  return DefSubclassProc(list, message, wparam, lparam);
}

// A detailed report of 301 lines goes into the list with its redrawing off
// and room for all of it, and is drawn once at the end: line by line it
// took seconds under Wine.
TEST_F(Form1CheckTest, LongReportGoesIntoTheListWithoutARepaintPerLine) {
  OpenOnBusyLog();
  // Two calculations running side by side: 1 + 150 and 1 + 149 lines.
  std::string log;
  const std::string budget = "[Wed Jan 08 10:00:00 2003]Local/BUSY/Budget/admin/Info(1012555)\r\n";
  for (const auto& [header, notices] : {std::pair{kHeader, 150}, std::pair{budget, 149}}) {
    log += header + "Calculating [ Measures(Sales)]\r\n";
    for (int done = 1; done <= notices; ++done) log += header + "Calculator Information Message: Completion Notice\r\n";
  }
  busy_essbase_.Write("app/BUSY/BUSY.log", log);
  Click(form1::chkDetail);

  ListAdditions additions;
  HWND list = Control(form1::lstCalcs);
  ASSERT_TRUE(SetWindowSubclass(list, &CountAdditions, 1, reinterpret_cast<DWORD_PTR>(&additions)));
  Click(form1::cmdOK);
  Pump();
  RemoveWindowSubclass(list, &CountAdditions, 1);

  EXPECT_EQ(Report().size(), 301u);
  EXPECT_EQ(additions.lines_unseen, 301);
  EXPECT_EQ(additions.reserved_lines, 301u);
  EXPECT_FALSE(additions.redraw_off) << "drawn again at the end";
}

// Whether `owner` has its icon in the notification area: only an icon that
// is there can be changed.
bool HasNotificationIcon(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = FinishNotice::kIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// The finish alert, through the real notification area: the icon comes with
// the first calculation that finishes while the automatic re-check is on, and
// goes with the window. Which calculations count as finished is the core's.
TEST_F(Form1CheckTest, FinishAlertIconComesWhenAWatchedCalculationFinishesAndGoesWithTheWindow) {
  OpenOnBusyLog();
  const auto Check = [this](const std::string& log) {
    busy_essbase_.Write("app/BUSY/BUSY.log", log);
    Click(form1::cmdOK);
    Pump();
  };

  Check(kRunning);
  Check(kFinished);
  EXPECT_FALSE(HasNotificationIcon(Window())) << "finished while nobody watched";

  Click(form1::chkCheck);
  Check(kRunning);
  EXPECT_FALSE(HasNotificationIcon(Window())) << "still running";
  Check(kFinished);
  EXPECT_TRUE(HasNotificationIcon(Window()));

  HWND window = Window();
  CloseAndForget();
  EXPECT_FALSE(HasNotificationIcon(window));
}

TEST(VersionRecordTest, ProgramCarriesItsFileVersionAndProductName) {
  const std::optional<VersionRecord> record = ReadVersionRecord(ProgramPath(KELVARY_PROGRAM));
  ASSERT_TRUE(record);
  EXPECT_EQ(std::vector<unsigned>({record->major, record->minor, record->patch, record->build}),
            std::vector<unsigned>({1, 65, 0, 167}));
  EXPECT_EQ(record->product_name, "Kelvary");
  EXPECT_FALSE(ReadVersionRecord(ProgramPath(KELVARY_SOURCE_DIR "/README.md"))) << "a file without one has none";
}

}  // namespace
}  // namespace kelvary::test
