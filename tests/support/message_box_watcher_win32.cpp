#include "support/message_box_watcher_win32.h"

#include <algorithm>
#include <chrono>

#include "support/window_reading_win32.h"

namespace kelvary::test {
namespace {

constexpr const char* kDialogClass = "#32770";
// MessageBox's text is the static control with this id.
constexpr int kMessageTextId = 0xFFFF;
constexpr auto kPollInterval = std::chrono::milliseconds(20);

// The system icons a box can show, by number: IDI_ names depend on UNICODE.
constexpr WORD kErrorIcon = 32513;        // IDI_HAND
constexpr WORD kInformationIcon = 32516;  // IDI_ASTERISK

// The icon a box shows, or null.
BOOL CALLBACK FindIcon(HWND child, LPARAM found_address) {
  const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
  if ((style & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON*>(found_address) =
      reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  return FALSE;
}

bool IsSystemIcon(HICON icon, WORD number) {
  return icon && icon == LoadIconA(nullptr, MAKEINTRESOURCEA(number));
}

// Every button a message box can have, in id order.
constexpr int kBoxButtons[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE};

std::vector<int> ButtonsShown(HWND box) {
  std::vector<int> shown;
  for (int id : kBoxButtons) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) shown.push_back(id);
  }
  return shown;
}

int DefaultButton(HWND box) {
  for (int id : ButtonsShown(box)) {
    const LONG_PTR style = GetWindowLongPtrA(GetDlgItem(box, id), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
  }
  return 0;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD process_id, int answer)
    : process_id_(process_id), answer_(answer), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void MessageBoxWatcher::Watch() {
  while (!stop_) {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, kDialogClass, nullptr))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(box, &owner);
      if (owner == process_id_ && IsWindowVisible(box)) Answer(box);
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

// Reads a box once and presses the answer's button; a box still closing when the
// next poll comes is not read twice.
void MessageBoxWatcher::Answer(HWND box) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
    answered_.push_back(box);
  }
  HICON icon = nullptr;
  EnumChildWindows(box, &FindIcon, reinterpret_cast<LPARAM>(&icon));
  SeenMessageBox seen{TextOf(box), TextOf(GetDlgItem(box, kMessageTextId)),
                      IsSystemIcon(icon, kErrorIcon), IsSystemIcon(icon, kInformationIcon),
                      icon != nullptr, ButtonsShown(box), DefaultButton(box)};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back(std::move(seen));
  }
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
}

}  // namespace kelvary::test
