#pragma once
// Reading the texts of this process's controls in the system's ANSI code
// page, as the store and the settings file keep them.
#include <windows.h>

#include <string>

namespace kelvary {

std::string ControlText(HWND control);                 // a box's or caption's text
std::string ListBoxItemText(HWND list, int index);     // one entry of a list box

}  // namespace kelvary
