#pragma once
// The Windows shell's folder picker, shown modally over a window.
#include <windows.h>

#include <optional>
#include <string>

namespace kelvary {

// The full path of the folder the user picks, in the system's ANSI code
// page as the store keeps its texts; nothing when the user cancels or the
// picker cannot be shown.
std::optional<std::string> PickFolder(HWND owner);

}  // namespace kelvary
