#include "servers/remove_server_dialog_win32.h"

#include <array>
#include <string>
#include <vector>

#include "kelvary_version.h"
#include "servers/registry_store.h"
#include "win32/base_window.h"
#include "win32/control_text_win32.h"
#include "win32/modal_dialog_win32.h"

namespace kelvary {
namespace {

using namespace remove_server;

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
// No icon, Yes and No with Yes the default.
constexpr UINT kQuestionStyle = MB_YESNO | MB_DEFBUTTON1;

// The controls in the order Tab walks them (the label takes no focus).
// Positions and sizes in twips of the client area. The list is neither
// sorted nor of integral height: entries stay in the store's order and the
// box keeps its declared size.
constexpr std::array<ControlLayout, 4> kControls{{
    {cboServers, "LISTBOX", "", {120, 360, 3855, 1425},
     LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE},
    {cmdDelete, "BUTTON", "Remove", {2520, 1920, 1335, 375}, kButton, 0},
    {cmdClose, "BUTTON", "Close", {240, 1920, 1215, 375}, kButton, 0},
    {Label1, "STATIC", "Available Servers:", {120, 120, 3135, 255}, SS_LEFT | WS_GROUP, 0},
}};

class frmDeleteServer final : public BaseWindow<frmDeleteServer>, public RemoveServerDialogView {
 public:
  static constexpr const char* kClassName = remove_server::kClassName;

  frmDeleteServer(RegistryBackend& registry, MainServerBox& main_box)
      : registry_(registry), main_box_(main_box), frame_(kControls, kClientSize, {}) {}
  ~frmDeleteServer() override {
    if (hwnd_) DestroyWindow(hwnd_);
  }

  bool Create(HWND owner) {
    return RegisterWindowClass(nullptr, nullptr) &&
           CreateWindowOfClass(kCaption, kToolDialogStyle, kToolDialogExStyle, nullptr, owner);
  }

  // The router: each case hands one message to one handler.
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_CREATE: return OnCreate();
      case WM_COMMAND: return OnCommand(wparam);
      case WM_CLOSE: return OnClose();
      default: return frame_.HandleMessage(hwnd_, message, wparam, lparam);
    }
  }

  // RemoveServerDialogView: what the Remove button works on.
  std::optional<std::string> SelectedServer() override {
    const int index = SelectedIndex();
    if (index == LB_ERR) return std::nullopt;
    return ListBoxItemText(List(), index);
  }

  bool ConfirmRemoval(std::string_view question) override {
    return MessageBoxA(hwnd_, std::string(question).c_str(), KELVARY_PRODUCT_NAME,
                       kQuestionStyle) == IDYES;
  }

  void RemoveSelectedEntry() override {
    SendMessageA(List(), LB_DELETESTRING, static_cast<WPARAM>(SelectedIndex()), 0);
  }

 private:
  LRESULT OnCreate() {
    if (!frame_.Create(hwnd_)) return -1;
    Form_Load();
    return 0;
  }

  LRESULT OnCommand(WPARAM wparam);

  LRESULT OnClose() {
    cmdClose_Click();
    return 0;
  }

  // The store's servers in the order it lists them, none selected.
  void Form_Load() {
    const std::vector<std::string> names =
        RegListSubkeys(registry_, RegRoot::CurrentUser, strServersKey);
    for (const std::string& name : names) {
      SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
  }

  void cmdDelete_Click() { RemoveSelectedServer(registry_, *this, main_box_); }

  void cmdClose_Click() { EndModal(hwnd_); }

  HWND List() const { return GetDlgItem(hwnd_, cboServers); }
  int SelectedIndex() const { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }

  static const CommandRoute<frmDeleteServer> kRoutes[];

  RegistryBackend& registry_;
  MainServerBox& main_box_;
  ToolDialogFrame frame_;
};

const CommandRoute<frmDeleteServer> frmDeleteServer::kRoutes[] = {
    {cmdDelete, BN_CLICKED, &frmDeleteServer::cmdDelete_Click},
    {cmdClose, BN_CLICKED, &frmDeleteServer::cmdClose_Click},
};

LRESULT frmDeleteServer::OnCommand(WPARAM wparam) {
  RouteCommand(*this, kRoutes, wparam);
  return 0;
}

}  // namespace

void ShowRemoveServerDialog(HWND main_window, RegistryBackend& registry, MainServerBox& main_box) {
  frmDeleteServer dialog(registry, main_box);
  if (dialog.Create(main_window)) RunModal(dialog.Window());
}

}  // namespace kelvary
