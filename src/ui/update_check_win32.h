#pragma once
// The main window's update check: asks the maker's site for the version of
// the latest release and tells the user whether it is this one.
#include <windows.h>

namespace kelvary {

// Runs on `main_window`'s thread and returns when the user has closed the
// message box. The window takes no input and the pointer is the hourglass
// while the request runs; both are restored on every way out. Meanwhile the
// thread's messages are handled, so the window keeps painting.
void CheckForNewerVersion(HWND main_window);

}  // namespace kelvary
