#pragma once
// The three things the main window asks of the Windows desktop: a new
// process, the clipboard and the user's web browser.
#include <windows.h>

#include <string>
#include <string_view>

namespace kelvary {

// Starts `command_line` (path text, as the program's path in it is) as a new
// process whose window opens normally; its handles are let go at once. False
// when it cannot be started.
bool StartProcess(const std::string& command_line);

// Replaces the clipboard's content with `text` as CF_TEXT. False when the
// clipboard cannot be opened or the text cannot be put there.
bool PutTextOnClipboard(HWND owner, std::string_view text);

// Hands `address` to the shell, which opens it in the user's browser.
// Whatever the shell makes of it is not checked.
void OpenInBrowser(const std::string& address);

}  // namespace kelvary
