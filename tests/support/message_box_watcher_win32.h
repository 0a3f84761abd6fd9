#pragma once
// Dismisses the message boxes a test provokes and keeps what they said. A
// thread of its own watches for them, since a box blocks the thread that
// showed it until it is answered.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "window_reading/window_reading_win32.h"

namespace kelvary::test {

struct SeenMessageBox {
  std::string title;
  std::string text;
  bool error_icon;           // the system's error (hand) icon
  bool information_icon;     // the system's information (asterisk) icon
  bool shows_icon;           // any icon at all
  std::vector<int> buttons;  // the ids of the buttons shown (IDOK, IDYES...), in id order
  int default_button;        // the id of the one Enter presses; 0 when none
};

class MessageBoxWatcher {
 public:
  // Watches this process's boxes and answers each with the button `answer`
  // (IDOK, IDYES, IDNO...).
  explicit MessageBoxWatcher(int answer = IDOK) : answer_(answer), thread_([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Every box answered so far, in the order they came.
  std::vector<SeenMessageBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  static constexpr int kMessageTextId = 0xFFFF;  // MessageBox's text is this static control
  // The system icons by number: IDI_ names depend on UNICODE.
  static constexpr WORD kErrorIcon = 32513;        // IDI_HAND
  static constexpr WORD kInformationIcon = 32516;  // IDI_ASTERISK

  void Watch() {
    while (!stop_) {
      HWND box = nullptr;
      while ((box = FindWindowExA(nullptr, box, "#32770", nullptr))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == GetCurrentProcessId() && IsWindowVisible(box)) Answer(box);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  static BOOL CALLBACK FindIcon(HWND child, LPARAM found_address) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(found_address) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    return FALSE;
  }
  static bool IsSystemIcon(HICON icon, WORD number) {
    return icon && icon == LoadIconA(nullptr, MAKEINTRESOURCEA(number));
  }

  // Reads a box once and presses the answer's button; a box still closing
  // when the next poll comes is not read twice.
  void Answer(HWND box) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
      answered_.push_back(box);
    }
    HICON icon = nullptr;
    EnumChildWindows(box, &FindIcon, reinterpret_cast<LPARAM>(&icon));
    SeenMessageBox seen{TextOf(box), TextOf(GetDlgItem(box, kMessageTextId)), IsSystemIcon(icon, kErrorIcon),
                        IsSystemIcon(icon, kInformationIcon), icon != nullptr, {}, 0};
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
      HWND button = GetDlgItem(box, id);
      if (!button || !IsWindowVisible(button)) continue;
      seen.buttons.push_back(id);
      if ((GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.default_button = id;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(std::move(seen));
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
  }

  const int answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};

}  // namespace kelvary::test
