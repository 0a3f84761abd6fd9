#pragma once
// Reading the texts of this process's controls in the system's ANSI code
// page, as the store and the settings file keep them; sizing a label to its
// text.
#include <windows.h>

#include <string>

namespace kelvary {

std::string ControlText(HWND control);                 // a box's or caption's text
std::string ListBoxItemText(HWND list, int index);     // one entry of a list box

// Narrows or widens a one-line label to its text in its font, plus `margin`
// pixels, so that it covers no more than its text.
void FitWidthToText(HWND label, int margin);

}  // namespace kelvary
