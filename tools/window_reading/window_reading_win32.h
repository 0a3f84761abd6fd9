#pragma once
// Reading windows the way a second process has to: wide messages, which Wine
// copies correctly across processes (its ANSI LB_GETTEXT does not), so the
// same calls serve tests in-process and across processes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/dpi.h"

namespace kelvary::test {

inline constexpr int kClassNameSize = 256;
// Where Wine shows the Linux file system's root.
inline constexpr const char* kWineRootDrive = "Z:";

inline std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

// Every item of a list or combo box through its count, length and text
// messages.
inline std::vector<std::string> Items(HWND box, UINT count_message, UINT length_message, UINT text_message) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(box, count_message, 0, 0);
  for (WPARAM i = 0; static_cast<LRESULT>(i) < count; ++i) {
    const LRESULT length = SendMessageW(box, length_message, i, 0);
    std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
    const LRESULT copied = SendMessageW(box, text_message, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    items.push_back(Narrow(text));
  }
  return items;
}

inline std::string TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return Narrow(text);
}

inline std::vector<std::string> ListBoxLines(HWND list) {
  return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

inline std::vector<std::string> ComboBoxItems(HWND combo) {
  return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

inline std::string ClassNameOf(HWND window) {
  char name[kClassNameSize] = {};
  GetClassNameA(window, name, kClassNameSize);
  return name;
}

// A child's place in its parent's client area.
inline PixelRect ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Left and top 0.
inline PixelRect ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {0, 0, rect.right, rect.bottom};
}

// A top-level window of `class_name` that belongs to process `process_id`.
inline HWND FindProcessWindow(const char* class_name, DWORD process_id) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, class_name, nullptr))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process_id) return window;
  }
  return nullptr;
}

// Converts a path CMake knows ("/src/x" under Wine, "C:/x" on Windows)
// into the one the program sees ("Z:\src\x", "C:\x").
inline std::string ProgramPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return !path.empty() && path.front() == '\\' ? kWineRootDrive + path : path;
}

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

}  // namespace kelvary::test
