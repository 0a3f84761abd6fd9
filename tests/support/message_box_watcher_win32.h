#pragma once
// Dismisses the message boxes a test provokes and keeps what they said. A
// thread of its own watches for them, since a box blocks the thread that
// showed it until it is answered.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvary::test {

struct SeenMessageBox {
  std::string title;
  std::string text;
  bool error_icon;  // the system's error (hand) icon
  bool information_icon;  // the system's information (asterisk) icon
  bool shows_icon;        // any icon at all
  std::vector<int> buttons;  // the ids of the buttons shown (IDOK, IDYES...), in id order
  int default_button;        // the id of the one Enter presses; 0 when none
};

class MessageBoxWatcher {
 public:
  // Watches the boxes of process `process_id` (this one by default) and
  // answers each with the button `answer` (IDOK, IDYES, IDNO...).
  explicit MessageBoxWatcher(DWORD process_id = GetCurrentProcessId(), int answer = IDOK);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Every box answered so far, in the order they came.
  std::vector<SeenMessageBox> Seen();

 private:
  void Watch();
  void Answer(HWND box);

  const DWORD process_id_;
  const int answer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenMessageBox> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};

}  // namespace kelvary::test
