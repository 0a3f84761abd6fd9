#pragma once
// frmAddServer, the add dialog: one server's name, and either the Essbase
// directory for direct file access or the address and login for remote
// access. Add writes the server into the store and its name into the main
// window's server box.
#include <windows.h>

#include <array>

#include "servers/registry_backend.h"
#include "servers/server_dialog_actions.h"
#include "win32/dpi.h"

namespace kelvary {

// Control ids of frmAddServer; the control arrays keep their indexes.
namespace add_server {
inline constexpr int txtName = 2001;
inline constexpr int cmdAdd = 2002;
inline constexpr int cmdcancel = 2003;
inline constexpr int Frame1 = 2004;
inline constexpr int cmdBrowse = 2005;
inline constexpr int txtPath = 2006;
inline constexpr int Frame2 = 2007;
inline constexpr int txtDns = 2008;
inline constexpr int txtUserName = 2009;
inline constexpr int txtPassword = 2010;
// The frames' captions, as labels of their own right of the option buttons.
inline constexpr int lblFrame1 = 2011;
inline constexpr int lblFrame2 = 2012;
inline constexpr std::array<int, 6> Label1{2100, 2101, 2102, 2103, 2104, 2105};
inline constexpr std::array<int, 2> opt1{2200, 2201};  // direct access, remote access

inline constexpr const char* kClassName = "KelvaryAddServer";
inline constexpr const char* kCaption = "Add a Server";
inline constexpr TwipsSize kClientSize{4905, 4335};
// Wingdings draws "1" as a folder and ":" as the password mask symbol.
inline constexpr FontSpec kBrowseFont{"Wingdings", 195, true};    // 9.75 pt
inline constexpr FontSpec kPasswordFont{"Wingdings", 165, true};  // 8.25 pt
inline constexpr char kPasswordMask = ':';
// The browse button shows only a symbol, or an empty box where the symbol
// font is missing: its tooltip says what it does.
inline constexpr const char* kBrowseTooltip = "Browse for the Essbase directory";
}  // namespace add_server

// Shows the dialog, created afresh in its design state, modally over
// `main_window`, and returns once it is closed.
void ShowAddServerDialog(HWND main_window, RegistryBackend& registry, MainServerBox& main_box);

}  // namespace kelvary
