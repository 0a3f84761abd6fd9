#pragma once
// Reading windows the way a second process has to: wide messages, which Wine
// copies correctly across processes (its ANSI LB_GETTEXT does not), so the
// same calls serve tests in-process and across processes.
#include <windows.h>

#include <string>
#include <vector>

#include "win32/dpi.h"

namespace kelvary::test {

std::string TextOf(HWND window);                      // WM_GETTEXT
std::vector<std::string> ListBoxLines(HWND list);     // LB_GETTEXT
std::vector<std::string> ComboBoxItems(HWND combo);   // CB_GETLBTEXT
std::string ClassNameOf(HWND window);
// A child's place in its parent's client area.
PixelRect ChildRect(HWND child);
PixelRect ClientSize(HWND window);  // left and top 0

// A top-level window of `class_name` that belongs to process `process_id`.
HWND FindProcessWindow(const char* class_name, DWORD process_id);

// Converts a path CMake knows ("/src/x" under Wine, "C:/x" on Windows)
// into the one the program sees ("Z:\src\x", "C:\x").
std::string ProgramPath(std::string path);

}  // namespace kelvary::test
