#include "ui/update_check_win32.h"

#include <memory>
#include <string>
#include <thread>

#include "ui/message_loop_win32.h"
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

using EventHandle = std::unique_ptr<void, decltype(&CloseHandle)>;

// The request runs in a thread of its own while this one goes on handling
// messages: the window repaints, and a menu that was open over it is drawn
// away. Input cannot reach the disabled window. The fetch ends by its own
// deadline, so the wait does too. After WM_QUIT (posted again for the outer
// loop) only the request is waited for.
FetchedVersionFile FetchWhileHandlingMessages(HWND main_window, const std::string& url) {
  const EventHandle ended(CreateEventA(nullptr, TRUE, FALSE, nullptr), &CloseHandle);
  if (!ended) return FetchVersionFile(url, kUpdateTimeoutMs);
  FetchedVersionFile fetched;
  std::thread request([&] {
    fetched = FetchVersionFile(url, kUpdateTimeoutMs);
    SetEvent(ended.get());
  });
  HANDLE wait_for = ended.get();
  bool handling = true;
  while (handling && MsgWaitForMultipleObjects(1, &wait_for, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    handling = ProcessPendingMessages(main_window);
  }
  request.join();
  return fetched;
}

UpdateMessage AskForLatestVersion(HWND main_window) {
  const WindowDisabled disabled(main_window);
  const ScreenHourglass hourglass(main_window);
  RedrawWindow(main_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const FetchedVersionFile fetched = FetchWhileHandlingMessages(main_window, UpdateUrl());
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
  if (!IsWindow(main_window)) return;  // closed while the request ran
  MessageBoxA(main_window, message.text.c_str(), message.title.c_str(), BoxStyle(message.icon));
}

}  // namespace kelvary
