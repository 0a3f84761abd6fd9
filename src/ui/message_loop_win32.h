#pragma once
// The thread's message loop, and the one-pass variant a long operation calls
// to keep its window painted and usable. Both give `keyboard_window` the
// dialog keys (Tab, Enter, Esc) through IsDialogMessage.
#include <windows.h>

namespace kelvary {

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop(HWND keyboard_window);

// Handles the messages pending now, once. Returns false when WM_QUIT came;
// it is posted again so that the outer loop ends too.
bool ProcessPendingMessages(HWND keyboard_window);

}  // namespace kelvary
