// For the README's picture: waits for a running Kelvary.exe, presses "Check
// Calculation", waits for the report and prints the window's place on the
// screen as "WIDTHxHEIGHT+LEFT+TOP", the crop geometry of ImageMagick.
// With --report-and-close (the test of the installed program) it prints the
// report's lines instead, then closes the window as its close box does and
// waits until it is gone, so that the program has written its settings.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/program_process_win32.h"
#include "support/window_reading_win32.h"
#include "ui/form1_win32.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kNoWindow = 1;
constexpr int kNoReport = 2;
constexpr int kStillOpen = 3;
constexpr const char* kReportAndClose = "--report-and-close";

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvary;
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
  HWND list = GetDlgItem(window, form1::lstCalcs);
  // Across processes the click runs the whole check before it returns.
  SendMessageW(GetDlgItem(window, form1::cmdOK), BM_CLICK, 0, 0);
  const bool reported = test::PollForWindow(
      [&]() -> HWND { return IsWindowEnabled(GetDlgItem(window, form1::cmdOK)) &&
                             !test::ListBoxLines(list).empty() ? list : nullptr; },
      kTimeoutMs);
  if (!reported) return kNoReport;
  if (argc > 1 && std::strcmp(argv[1], kReportAndClose) == 0) {
    for (const std::string& line : test::ListBoxLines(list)) std::printf("%s\n", line.c_str());
    PostMessageW(window, WM_CLOSE, 0, 0);
    const bool closed = test::PollForWindow(
        [&]() -> HWND { return IsWindow(window) ? nullptr : window; }, kTimeoutMs);
    return closed ? 0 : kStillOpen;
  }
  RECT place{};
  GetWindowRect(window, &place);
  std::printf("%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left,
              place.top);
  return 0;
}
