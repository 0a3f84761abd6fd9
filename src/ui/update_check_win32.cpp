#include "ui/update_check_win32.h"

#include <string>

#include "ui/update_check.h"
#include "ui/version_file_fetch_win32.h"
#include "ui/version_record_win32.h"

namespace kelvary {
namespace {

// The system pointers by number: their IDC_ names depend on UNICODE.
constexpr WORD kArrowPointer = 32512;      // IDC_ARROW
constexpr WORD kHourglassPointer = 32514;  // IDC_WAIT

// The window takes no input until this goes.
class WindowDisabled {
 public:
  explicit WindowDisabled(HWND window) : window_(window) { EnableWindow(window_, FALSE); }
  ~WindowDisabled() { EnableWindow(window_, TRUE); }
  WindowDisabled(const WindowDisabled&) = delete;
  WindowDisabled& operator=(const WindowDisabled&) = delete;

 private:
  HWND window_;
};

// The hourglass wherever the pointer goes: the window holds the mouse, and
// nothing changes the pointer back while the thread waits for the request.
// Taken after the window is disabled, since disabling gives up the mouse.
class ScreenHourglass {
 public:
  explicit ScreenHourglass(HWND window) {
    SetCapture(window);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer)));
  }
  ~ScreenHourglass() {
    ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrowPointer)));
  }
  ScreenHourglass(const ScreenHourglass&) = delete;
  ScreenHourglass& operator=(const ScreenHourglass&) = delete;
};

// KELVARY_UPDATE_URL when set, else the maker's version file.
std::string UpdateUrl() {
  const DWORD size = GetEnvironmentVariableA(kUpdateUrlVariable, nullptr, 0);
  if (size == 0) return VersionFileUrl("");
  std::string value(size, '\0');
  value.resize(GetEnvironmentVariableA(kUpdateUrlVariable, value.data(), size));
  return VersionFileUrl(value);
}

UpdateMessage AskForLatestVersion(HWND main_window) {
  const WindowDisabled disabled(main_window);
  const ScreenHourglass hourglass(main_window);
  const FetchedVersionFile fetched = FetchVersionFile(UpdateUrl(), kUpdateTimeoutMs);
  const VersionRecord own = OwnVersionRecord();
  return UpdateMessageFor(CompareWithOwnVersion(fetched, OwnVersionText(own)), own.product_name);
}

UINT BoxStyle(MessageIcon icon) {
  return MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
}

}  // namespace

// The box takes over from the disabled state: it keeps its owner from input
// itself and, by enabling it before it goes, hands the activation back to it.
void CheckForNewerVersion(HWND main_window) {
  const UpdateMessage message = AskForLatestVersion(main_window);
  MessageBoxA(main_window, message.text.c_str(), message.title.c_str(), BoxStyle(message.icon));
}

}  // namespace kelvary
