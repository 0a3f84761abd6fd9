// For the pictures of make screenshot: waits for a running Kelvary.exe,
// presses "Check Calculation", waits for the report, then shows each window
// in turn (the main window, the same with estimates and with detail, the add and remove
// dialogs, help and about). For each it prints "NAME TITLE" and waits for a
// line on its input (the picture taken) before it closes it. Last comes the
// finish alert, offered as "alert *screen*": it stands outside the window.
// With --report-and-close (the test of the installed program) it prints the
// report's lines instead, then closes the window as its close box does and
// waits until it is gone, so that the program has written its settings.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "servers/add_server_dialog_win32.h"
#include "servers/registry_store.h"
#include "servers/remove_server_dialog_win32.h"
#include "ui/form1_win32.h"
#include "ui/help_windows_win32.h"
#include "ui/resource_ids.h"
#include "window_reading/window_reading_win32.h"

namespace {

using namespace kelvary;

constexpr DWORD kTimeoutMs = 30000;
// Time for a window just shown to finish painting before its picture.
constexpr DWORD kSettleMs = 300;
// A notification comes up a while after it is asked for.
constexpr DWORD kNotificationSettleMs = 2500;
constexpr int kNoWindow = 1;
constexpr int kNoReport = 2;
constexpr int kStillOpen = 3;
constexpr int kNoDialog = 4;
constexpr int kNoDemoLog = 5;
constexpr const char* kReportAndClose = "--report-and-close";
constexpr const char* kWholeScreen = "*screen*";
constexpr const char* kDemoServer = "Demo";
constexpr const char* kDemoLog = "\\app\\SAMPLE\\SAMPLE.log";
// What the demo log gains between two checks: BUDGET's finish.
constexpr const char* kBudgetFinished =
    "[Thu Jan 09 16:03:15 2003]Local/SAMPLE/Budget/qatest/Info(1012579)\r\n"
    "Total Calc Elapsed Time : [1393.1] seconds\r\n\r\n";

// A window opened from the main window's menu, by its class.
struct MenuWindow {
  const char* name;
  int command;
  const char* class_name;
};

constexpr MenuWindow kMenuWindows[] = {
    {"add-server", IDM_SERVERS_ADD, add_server::kClassName},
    {"remove-server", IDM_SERVERS_REMOVE, remove_server::kClassName},
    {"help", IDM_HELP_HELP, frm_help::kClassName},
    {"about", IDM_HELP_ABOUT, frm_about::kClassName},
};

// Across processes the click runs the whole check before it returns.
bool CheckAndWaitForReport(HWND window) {
  HWND list = GetDlgItem(window, form1::lstCalcs);
  SendMessageW(GetDlgItem(window, form1::cmdOK), BM_CLICK, 0, 0);
  return test::PollForWindow(
             [&]() -> HWND { return IsWindowEnabled(GetDlgItem(window, form1::cmdOK)) &&
                                    !test::ListBoxLines(list).empty() ? list : nullptr; },
             kTimeoutMs) != nullptr;
}

bool WaitUntilGone(HWND window) {
  return test::PollForWindow([&]() -> HWND { return IsWindow(window) ? nullptr : window; },
                             kTimeoutMs) != nullptr;
}

int ReportAndClose(HWND window) {
  for (const std::string& line : test::ListBoxLines(GetDlgItem(window, form1::lstCalcs))) {
    std::printf("%s\n", line.c_str());
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitUntilGone(window) ? 0 : kStillOpen;
}

// Painted now, then named for the picture by its title, which is also the
// title of its X window; returns once the picture is taken.
void OfferForPicture(const char* name, HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(kSettleMs);
  std::printf("%s %s\n", name, test::TextOf(window).c_str());
  std::fflush(stdout);
  char taken[16];
  std::fgets(taken, sizeof taken, stdin);
}

// Posted: each of these windows is modal, so a sent command would not
// return until it closed.
int OfferMenuWindow(HWND main_window, const MenuWindow& shown) {
  PostMessageW(main_window, WM_COMMAND, MAKEWPARAM(shown.command, 0), 0);
  HWND window = test::PollForWindow(
      [&]() -> HWND {
        HWND found = FindWindowA(shown.class_name, nullptr);
        return found && IsWindowVisible(found) ? found : nullptr;
      },
      kTimeoutMs);
  if (!window) return kNoDialog;
  OfferForPicture(shown.name, window);
  PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitUntilGone(window) ? 0 : kStillOpen;
}

// The demo runs on a copy of the samples, so its log may grow.
bool AppendToDemoLog(const char* text) {
  SetStoreKeyPaths();
  const std::string path =
      RegReadText(*OpenUserRegistry(), RegRoot::CurrentUser, ServerKeyPath(kDemoServer), "Path") + kDemoLog;
  FILE* log = std::fopen(path.c_str(), "ab");
  if (!log) return false;
  const bool written = std::fputs(text, log) >= 0;
  return std::fclose(log) == 0 && written;
}

// With the automatic re-check on, a check lists BUDGET; the log then shows
// it finished, and the next check tells so from the notification area.
int OfferFinishAlert(HWND main_window) {
  SendMessageW(GetDlgItem(main_window, form1::chkCheck), BM_CLICK, 0, 0);
  if (!CheckAndWaitForReport(main_window)) return kNoReport;
  if (!AppendToDemoLog(kBudgetFinished)) return kNoDemoLog;
  if (!CheckAndWaitForReport(main_window)) return kNoReport;
  Sleep(kNotificationSettleMs);
  std::printf("alert %s\n", kWholeScreen);
  std::fflush(stdout);
  char taken[16];
  std::fgets(taken, sizeof taken, stdin);
  return 0;
}

int OfferEveryWindow(HWND main_window) {
  OfferForPicture("main", main_window);
  // "Show Estimates" rewrites the shown report at once; off again after.
  SendMessageW(main_window, WM_COMMAND, MAKEWPARAM(IDM_EDIT_ESTIMATES, 0), 0);
  OfferForPicture("main-estimates", main_window);
  SendMessageW(main_window, WM_COMMAND, MAKEWPARAM(IDM_EDIT_ESTIMATES, 0), 0);
  SendMessageW(GetDlgItem(main_window, form1::chkDetail), BM_CLICK, 0, 0);
  if (!CheckAndWaitForReport(main_window)) return kNoReport;
  OfferForPicture("main-detail", main_window);
  for (const MenuWindow& shown : kMenuWindows) {
    if (const int failed = OfferMenuWindow(main_window, shown)) return failed;
  }
  return OfferFinishAlert(main_window);
}

}  // namespace

int main(int argc, char** argv) {
  // Shown, with its server chosen: a click before that is lost.
  HWND window = test::PollForWindow(
      []() -> HWND {
        HWND found = FindWindowA(form1::kClassName, nullptr);
        const bool ready = found && IsWindowVisible(found) &&
                           SendMessageW(GetDlgItem(found, form1::cboServers), CB_GETCURSEL, 0, 0) >= 0;
        return ready ? found : nullptr;
      },
      kTimeoutMs);
  if (!window) return kNoWindow;
  if (!CheckAndWaitForReport(window)) return kNoReport;
  if (argc > 1 && std::strcmp(argv[1], kReportAndClose) == 0) return ReportAndClose(window);
  return OfferEveryWindow(window);
}
