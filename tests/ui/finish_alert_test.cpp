// The window's finish alert, through the real notification area: the icon
// comes with the first calculation that finishes while the automatic
// re-check is on, and goes with the window. Which calculations count as
// finished is the core's, pinned natively.
#include <windows.h>
#include <shellapi.h>

#include "form1_fixture.h"
#include "ui/finish_notice_win32.h"

namespace kelvary::test {
namespace {

const std::string kHeader = "[Wed Jan 08 10:00:00 2003]Local/BUSY/Basic/admin/Info(1012555)\r\n";
const std::string kRunning = kHeader + "Calculating [ Measures(Sales)]\r\n";
const std::string kFinished = kRunning + kHeader + "Total Calc Elapsed Time : [734] seconds\r\n";

// Whether `owner` has its icon in the notification area: only an icon that
// is there can be changed.
bool HasNotificationIcon(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = FinishNotice::kIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class FinishAlertTest : public Form1Test {
 protected:
  void Check(const std::string& log) {
    essbase_.Write("app/BUSY/BUSY.log", log);
    Click(form1::cmdOK);
    Pump();
  }
  TempFolder essbase_;
};

TEST_F(FinishAlertTest, IconComesWhenAWatchedCalculationFinishesAndGoesWithTheWindow) {
  AddServer("Busy", essbase_.Text());
  Reopen(folder_.Text());
  SelectServer("Busy");
  SetAppText("busy");

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

}  // namespace
}  // namespace kelvary::test
