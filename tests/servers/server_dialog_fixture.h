#pragma once
// The add and remove dialogs opened from the real main window's Servers
// menu, over the Windows registry of the test prefix: what they write is read
// back from there, in the order seen on its way. Each test owns the store's
// Servers key, emptied before and after it.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "servers/add_server_dialog_win32.h"
#include "servers/registry_store.h"
#include "servers/remove_server_dialog_win32.h"
#include "servers/server_definition.h"
#include "support/posted_probe_win32.h"
#include "support/recording_registry.h"
#include "support/registry_test_helpers.h"
#include "ui/form1_fixture.h"
#include "ui/resource_ids.h"

namespace kelvary::test {

using Names = std::vector<std::string>;

inline HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
inline void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
inline void Press(HWND dialog, int id) { SendMessageA(Item(dialog, id), BM_CLICK, 0, 0); }
inline bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// A key as the keyboard delivers it to the control with the focus, handled
// as the modal loop would: the dialog keys go to `dialog`.
inline void PressDialogKey(HWND dialog, UINT key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

inline void ExpectTabOrder(HWND dialog, std::initializer_list<int> order) {
  for (int expected : order) {
    PressDialogKey(dialog, VK_TAB);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
  }
}

// A fixed tool window (small title bar, no taskbar button) owned by
// `owner`, centred over it (centres compared as sums, to the pixel an odd
// difference rounds away), with `owner` disabled while it is up.
inline void ExpectModalToolWindowOver(HWND dialog, HWND owner, const char* caption) {
  const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
  EXPECT_EQ(TextOf(dialog), caption);
  EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
  RECT over{}, shown{};
  GetWindowRect(owner, &over);
  GetWindowRect(dialog, &shown);
  EXPECT_NEAR(shown.left + shown.right, over.left + over.right, 1);
  EXPECT_NEAR(shown.top + shown.bottom, over.top + over.bottom, 1);
  EXPECT_FALSE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), dialog);
}

// The add dialog's boxes for one server.
struct DirectServer {
  std::string name;
  std::string path;
};
struct RemoteServer {
  std::string name;
  std::string dns;
  std::string user_name;
  std::string password;
};

inline void FillIn(HWND dialog, const DirectServer& server) {
  Type(dialog, add_server::txtName, server.name);
  Press(dialog, add_server::opt1[0]);
  Type(dialog, add_server::txtPath, server.path);
}

inline void FillIn(HWND dialog, const RemoteServer& server) {
  Type(dialog, add_server::txtName, server.name);
  Press(dialog, add_server::opt1[1]);
  Type(dialog, add_server::txtDns, server.dns);
  Type(dialog, add_server::txtUserName, server.user_name);
  Type(dialog, add_server::txtPassword, server.password);
}

class ServerDialogTest : public Form1Test {
 protected:
  ServerDialogTest() {
    store_ = &recorder_;
    RemoveKeyTree(*wine_registry_, strServersKey);
  }
  ~ServerDialogTest() override {
    CloseAndForget();
    RemoveKeyTree(*wine_registry_, strServersKey);
  }

  // The store as another program (or an earlier run) left it.
  void StoreServer(const std::string& name) {
    RegWriteText(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath(name), kAccessValue, kDirectAccess);
  }
  std::string Stored(const std::string& name, std::string_view value) {
    return RegReadText(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath(name), value, "(missing)");
  }
  Names StoredServers() { return RegListSubkeys(*wine_registry_, RegRoot::CurrentUser, strServersKey); }
  const std::vector<std::string>& Writes() const { return recorder_.Changes(); }

  void MoveMainWindowTo(int left, int top) {
    SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Names MainBox() const { return ComboBoxItems(Control(form1::cboServers)); }

  // Opens a dialog from the Servers menu and runs `while_open` inside its
  // modal loop, with the dialog's window. A dialog still open afterwards is
  // closed with its close box, so that a failing test cannot hang.
  void WithDialog(int menu_item, const char* class_name, const std::function<void(HWND)>& while_open) {
    recorder_.ForgetChanges();
    PostedProbe probe;
    probe.Post([&] {
      HWND dialog = FindProcessWindow(class_name, GetCurrentProcessId());
      EXPECT_NE(dialog, nullptr) << class_name;
      if (!dialog) return;
      while_open(dialog);
      if (IsWindow(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    Menu(menu_item);
    EXPECT_TRUE(probe.Ran()) << "the menu item opened no modal loop";
    EXPECT_EQ(FindProcessWindow(class_name, GetCurrentProcessId()), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Window())) << "the main window takes input again";
  }
  void WithAddDialog(const std::function<void(HWND)>& while_open) {
    WithDialog(IDM_SERVERS_ADD, add_server::kClassName, while_open);
  }
  void WithRemoveDialog(const std::function<void(HWND)>& while_open) {
    WithDialog(IDM_SERVERS_REMOVE, remove_server::kClassName, while_open);
  }

  template <class Server>
  void AddThroughDialog(const Server& server) {
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, server);
      Press(dialog, add_server::cmdAdd);
      EXPECT_FALSE(IsWindow(dialog)) << "Add closes the dialog";
    });
  }

  std::unique_ptr<RegistryBackend> wine_registry_ = OpenUserRegistry();
  RecordingRegistry recorder_{*wine_registry_};
};

}  // namespace kelvary::test
