#pragma once
// A second process of a program under test: started with a command line,
// its main window found, closed like a user would, and never left behind.
#include <windows.h>

#include <functional>
#include <string>

#include "base/path_text_win32.h"
#include "support/window_reading_win32.h"

namespace kelvary::test {

// Polls `found` until it gives a window or `timeout_ms` has passed; the
// calling thread's own messages are handled meanwhile, so a window of this
// thread that another process talks to stays responsive.
inline HWND PollForWindow(const std::function<HWND()>& found, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND window = found()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

class ProgramProcess {
 public:
  // Starts `command_line`, path text (CreateProcessW, no application name).
  explicit ProgramProcess(const std::string& command_line) {
    std::wstring writable = WidePath(command_line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      id_ = info.dwProcessId;
    }
  }
  // Adopts a process found by its window, e.g. one the window under test
  // started itself.
  explicit ProgramProcess(HWND main_window) {
    GetWindowThreadProcessId(main_window, &id_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id_);
  }
  ~ProgramProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_, kExitCodeWhenKilled);
      WaitForSingleObject(process_, INFINITE);
    }
    CloseHandle(process_);
  }
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool Started() const { return process_ != nullptr; }

  // Waits until the process shows a top-level window of `class_name`
  // holding a child with id `child_id` (WaitForInputIdle returns too early
  // under Wine). Null when none comes in `timeout_ms`.
  HWND WaitForWindow(const char* class_name, int child_id, DWORD timeout_ms) {
    return PollForWindow(
        [&]() -> HWND {
          HWND window = FindProcessWindow(class_name, id_);
          return window && GetDlgItem(window, child_id) ? window : nullptr;
        },
        timeout_ms);
  }

  // Closes `window` with WM_CLOSE and waits for the process to end. False
  // when it is still running after `timeout_ms`.
  bool CloseAndWait(HWND window, DWORD timeout_ms) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return process_ && WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0;
  }

 private:
  static constexpr UINT kExitCodeWhenKilled = 99;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace kelvary::test
