#include "ui/message_loop_win32.h"

namespace kelvary {
namespace {

void Deliver(HWND keyboard_window, MSG& message) {
  // The window may have gone while its messages were still queued.
  if (IsWindow(keyboard_window) && IsDialogMessageA(keyboard_window, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

int RunMessageLoop(HWND keyboard_window) {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) Deliver(keyboard_window, message);
  return static_cast<int>(message.wParam);
}

bool ProcessPendingMessages(HWND keyboard_window) {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Deliver(keyboard_window, message);
  }
  return true;
}

}  // namespace kelvary
