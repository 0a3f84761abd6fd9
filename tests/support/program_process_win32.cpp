#include "support/program_process_win32.h"

#include <string>

#include "base/path_text_win32.h"
#include "support/window_reading_win32.h"

namespace kelvary::test {
namespace {

constexpr DWORD kPollIntervalMs = 20;
constexpr UINT kExitCodeWhenKilled = 99;

void HandleOwnMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

HWND PollForWindow(const std::function<HWND()>& found, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND window = found()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    HandleOwnMessages();
    Sleep(kPollIntervalMs);
  }
}

ProgramProcess::ProgramProcess(const std::string& command_line) {
  std::wstring writable = WidePath(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

ProgramProcess::ProgramProcess(HWND main_window) {
  GetWindowThreadProcessId(main_window, &id_);
  process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id_);
}

ProgramProcess::~ProgramProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, kExitCodeWhenKilled);
    WaitForSingleObject(process_, INFINITE);
  }
  CloseHandle(process_);
}

HWND ProgramProcess::WaitForWindow(const char* class_name, int child_id, DWORD timeout_ms) {
  return PollForWindow(
      [&]() -> HWND {
        HWND window = FindProcessWindow(class_name, id_);
        return window && GetDlgItem(window, child_id) ? window : nullptr;
      },
      timeout_ms);
}

bool ProgramProcess::CloseAndWait(HWND window, DWORD timeout_ms) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return process_ && WaitForSingleObject(process_, timeout_ms) == WAIT_OBJECT_0;
}

}  // namespace kelvary::test
