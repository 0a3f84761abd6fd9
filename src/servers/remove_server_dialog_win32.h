#pragma once
// frmDeleteServer, the remove dialog: lists the servers in the store and,
// after a Yes, removes the selected one from the store, from the main
// window's server box and from its own list. It stays open for more.
#include <windows.h>

#include "servers/registry_backend.h"
#include "servers/server_dialog_actions.h"
#include "win32/dpi.h"

namespace kelvary {

// Control ids of frmDeleteServer. Its list of servers shares its name with
// the main window's server box, though it is a plain list box.
namespace remove_server {
inline constexpr int cboServers = 3001;
inline constexpr int cmdDelete = 3002;
inline constexpr int cmdClose = 3003;
inline constexpr int Label1 = 3004;

inline constexpr const char* kClassName = "KelvaryRemoveServer";
inline constexpr const char* kCaption = "Remove a Server";
inline constexpr TwipsSize kClientSize{4155, 2355};
}  // namespace remove_server

// Shows the dialog, created afresh with the store's servers, modally over
// `main_window`, and returns once it is closed.
void ShowRemoveServerDialog(HWND main_window, RegistryBackend& registry, MainServerBox& main_box);

}  // namespace kelvary
