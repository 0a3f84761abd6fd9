#pragma once
// frmHelp and frmAbout, the two windows of the Help menu: a text box filled
// when the window loads and a Close button. Each is created afresh at every
// showing and shown modally over the main window; whatever the user typed
// into its text is gone with it.
#include <windows.h>

#include "win32/dpi.h"

namespace kelvary {

// Control ids, the same in both windows. Neither is IDOK or IDCANCEL: Enter
// and Esc do not press Close.
namespace info_window {
inline constexpr int txtInfo = 4001;
inline constexpr int Command1 = 4002;
}  // namespace info_window

namespace frm_help {
inline constexpr const char* kClassName = "KelvaryHelp";
inline constexpr const char* kCaption = "Help";
inline constexpr TwipsSize kClientSize{5325, 3705};
}  // namespace frm_help

namespace frm_about {
inline constexpr const char* kClassName = "KelvaryAbout";
// Followed by the product name of the version record.
inline constexpr const char* kCaptionStart = "About ";
inline constexpr TwipsSize kClientSize{5355, 3690};
}  // namespace frm_about

// Each returns once the user has closed the window.
void ShowHelpWindow(HWND main_window);
void ShowAboutWindow(HWND main_window);

}  // namespace kelvary
