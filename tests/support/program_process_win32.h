#pragma once
// A second process of a program under test: started with a command line,
// its main window found, closed like a user would, and never left behind.
#include <windows.h>

#include <functional>
#include <string>

namespace kelvary::test {

class ProgramProcess {
 public:
  // Starts `command_line`, path text (CreateProcessW, no application name).
  explicit ProgramProcess(const std::string& command_line);
  // Adopts a process found by its window, e.g. one the window under test
  // started itself.
  explicit ProgramProcess(HWND main_window);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool Started() const { return process_ != nullptr; }

  // Waits until the process shows a top-level window of `class_name`
  // holding a child with id `child_id` (WaitForInputIdle returns too early
  // under Wine). Null when none comes in `timeout_ms`.
  HWND WaitForWindow(const char* class_name, int child_id, DWORD timeout_ms);

  // Closes `window` with WM_CLOSE and waits for the process to end. False
  // when it is still running after `timeout_ms`.
  bool CloseAndWait(HWND window, DWORD timeout_ms);

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Polls `found` until it gives a window or `timeout_ms` has passed; the
// calling thread's own messages are handled meanwhile, so a window of this
// thread that another process talks to stays responsive.
HWND PollForWindow(const std::function<HWND()>& found, DWORD timeout_ms);

}  // namespace kelvary::test
