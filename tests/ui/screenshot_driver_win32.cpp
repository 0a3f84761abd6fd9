// For the README's picture: waits for a running Kelvary.exe, presses "Check
// Calculation", waits for the report and prints the window's place on the
// screen as "WIDTHxHEIGHT+LEFT+TOP", the crop geometry of ImageMagick.
#include <windows.h>

#include <cstdio>

#include "support/program_process_win32.h"
#include "support/window_reading_win32.h"
#include "ui/form1_win32.h"

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr int kNoWindow = 1;
constexpr int kNoReport = 2;

}  // namespace

int main() {
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
  RECT place{};
  GetWindowRect(window, &place);
  std::printf("%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left,
              place.top);
  return 0;
}
