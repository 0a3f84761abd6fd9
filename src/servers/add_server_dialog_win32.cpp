#include "servers/add_server_dialog_win32.h"

#include <commctrl.h>
#include <imm.h>

#include <string>

#include "kelvary_version.h"
#include "servers/folder_picker_win32.h"
#include "win32/base_window.h"
#include "win32/control_text_win32.h"
#include "win32/modal_dialog_win32.h"

namespace kelvary {
namespace {

using namespace add_server;

constexpr DWORD kTextBox = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kTextBoxEdge = WS_EX_CLIENTEDGE;
// Labels and frames start groups, which ends the option buttons' group.
constexpr DWORD kLabel = SS_LEFT | WS_GROUP;
constexpr DWORD kFrame = BS_GROUPBOX | WS_GROUP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kOption = BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr UINT kRefusalStyle = MB_OK | MB_ICONERROR;

constexpr TwipsRect kFrame1Rect{120, 600, 4695, 1335};
constexpr TwipsRect kFrame2Rect{120, 2040, 4695, 1695};

// The option buttons sit at the dialog's left edge, level with their frames'
// tops, where a frame draws its own caption: they would hide its first
// letter. The frames are drawn without a caption and each caption is a label
// starting just right of its option button, over the frame's top line, as
// wide as its text (FitCaptions) so that the line shows on after it.
constexpr int kOptionRight = 255;
constexpr int kCaptionGap = 45;  // 3 pixels at 96 DPI
constexpr int kCaptionHeight = 255;
constexpr int kCaptionMarginPixels = 3;
constexpr TwipsRect FrameCaption(const TwipsRect& frame) {
  return {kOptionRight + kCaptionGap, frame.top, frame.left + frame.width - kOptionRight - kCaptionGap,
          kCaptionHeight};
}

// The controls inside a frame are placed relative to it, but they are the
// dialog's children like every other control: a frame is only drawn.
constexpr TwipsRect InFrame(const TwipsRect& frame, const TwipsRect& place) {
  return {frame.left + place.left, frame.top + place.top, place.width, place.height};
}

// The controls in the order Tab walks them (labels and frames take no
// focus). Positions and sizes in twips of the client area.
constexpr std::array<ControlLayout, 20> kControls{{
    {txtName, "EDIT", "", {1920, 120, 2535, 375}, kTextBox | WS_GROUP, kTextBoxEdge},
    {cmdAdd, "BUTTON", "Add", {3120, 3840, 1335, 375}, kButton, 0},
    {Label1[0], "STATIC", "Name of Server:", {120, 180, 1695, 255}, kLabel, 0},
    {cmdcancel, "BUTTON", "Cancel", {240, 3840, 1215, 375}, kButton, 0},
    {Frame1, "BUTTON", "", kFrame1Rect, kFrame, 0},
    {lblFrame1, "STATIC", "Used when you have access to the database log files:", FrameCaption(kFrame1Rect),
     kLabel, 0},
    {cmdBrowse, "BUTTON", "1", InFrame(kFrame1Rect, {4200, 840, 375, 375}), kButton, 0},
    {txtPath, "EDIT", "", InFrame(kFrame1Rect, {120, 840, 3975, 375}), kTextBox, kTextBoxEdge},
    {Label1[2], "STATIC", "ie - d:\\essbase OR \\\\servername\\drive d\\essbase",
     InFrame(kFrame1Rect, {240, 600, 4335, 255}), kLabel, 0},
    {Label1[1], "STATIC", "The physical path of the essbase directory:",
     InFrame(kFrame1Rect, {120, 360, 4335, 255}), kLabel, 0},
    {Frame2, "BUTTON", "", kFrame2Rect, kFrame, 0},
    {lblFrame2, "STATIC", "Used when you are connecting remotely", FrameCaption(kFrame2Rect), kLabel, 0},
    {txtDns, "EDIT", "", InFrame(kFrame2Rect, {1080, 360, 3495, 285}), kTextBox, kTextBoxEdge},
    {txtUserName, "EDIT", "", InFrame(kFrame2Rect, {1080, 840, 3495, 285}), kTextBox, kTextBoxEdge},
    {txtPassword, "EDIT", "", InFrame(kFrame2Rect, {1080, 1320, 3495, 285}), kTextBox | ES_PASSWORD,
     kTextBoxEdge},
    {Label1[3], "STATIC", "DNS or IP:", InFrame(kFrame2Rect, {120, 360, 1695, 255}), kLabel, 0},
    {Label1[4], "STATIC", "User Name:", InFrame(kFrame2Rect, {120, 840, 1695, 255}), kLabel, 0},
    {Label1[5], "STATIC", "Password:", InFrame(kFrame2Rect, {120, 1320, 1695, 255}), kLabel, 0},
    // Each option sits at the dialog's left edge, level with its frame's top.
    {opt1[0], "BUTTON", "", {0, 600, 255, 255}, kOption | WS_GROUP, 0},
    {opt1[1], "BUTTON", "", {0, 2040, 255, 255}, kOption, 0},
}};

constexpr std::array<ControlFont, 2> kOwnFonts{{
    {cmdBrowse, kBrowseFont},
    {txtPassword, kPasswordFont},
}};

class frmAddServer final : public BaseWindow<frmAddServer> {
 public:
  static constexpr const char* kClassName = add_server::kClassName;

  frmAddServer(RegistryBackend& registry, MainServerBox& main_box)
      : registry_(registry), main_box_(main_box), frame_(kControls, kClientSize, kOwnFonts) {}
  ~frmAddServer() {
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
      case WM_DPICHANGED: return OnDpiChanged(wparam, lparam);
      default: return frame_.HandleMessage(hwnd_, message, wparam, lparam);
    }
  }

 private:
  LRESULT OnCreate() {
    if (!frame_.Create(hwnd_)) return -1;
    MaskPasswordBox();
    FitCaptions();
    AttachBrowseTooltip();
    CheckRadioButton(hwnd_, opt1[0], opt1[1], opt1[1]);  // remote access by design
    return 0;
  }

  LRESULT OnCommand(WPARAM wparam);

  // The layout gives the captions their table width again.
  LRESULT OnDpiChanged(WPARAM wparam, LPARAM lparam) {
    frame_.HandleMessage(hwnd_, WM_DPICHANGED, wparam, lparam);
    FitCaptions();
    return 0;
  }

  void FitCaptions() {
    const int margin = ScaleForDpi(kCaptionMarginPixels, WindowDpi(hwnd_));
    for (int caption : {lblFrame1, lblFrame2}) FitWidthToText(GetDlgItem(hwnd_, caption), margin);
  }

  // The close box discards the input, as Cancel does.
  LRESULT OnClose() {
    cmdcancel_Click();
    return 0;
  }

  void cmdAdd_Click() {
    const AddServerForm form{Text(txtName), IsDlgButtonChecked(hwnd_, opt1[0]) == BST_CHECKED,
                             Text(txtPath),
                             RemoteLogin{Text(txtDns), Text(txtUserName), Text(txtPassword)}};
    if (AddServerFromForm(registry_, form, main_box_) == AddOutcome::NameRefused) {
      MessageBoxA(hwnd_, std::string(kServerNameRefusal).c_str(), KELVARY_PRODUCT_NAME,
                  kRefusalStyle);
      return;
    }
    EndModal(hwnd_);
  }

  // A cancelled picker leaves the path as it was.
  void cmdBrowse_Click() {
    if (const std::optional<std::string> folder = PickFolder(hwnd_)) {
      SetDlgItemTextA(hwnd_, txtPath, folder->c_str());
    }
  }

  void cmdcancel_Click() { EndModal(hwnd_); }

  // Each typed character shows as the mask symbol, and no input method
  // composes text into the box.
  void MaskPasswordBox() {
    HWND box = GetDlgItem(hwnd_, txtPassword);
    SendMessageA(box, EM_SETPASSWORDCHAR, static_cast<WPARAM>(kPasswordMask), 0);
    ImmAssociateContext(box, nullptr);
  }

  // The tooltip window is the dialog's: it goes when the dialog goes.
  void AttachBrowseTooltip() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tip) return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(hwnd_, cmdBrowse));
    std::string text(kBrowseTooltip);
    tool.lpszText = text.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }

  std::string Text(int id) const { return ControlText(GetDlgItem(hwnd_, id)); }

  static const CommandRoute<frmAddServer> kRoutes[];

  RegistryBackend& registry_;
  MainServerBox& main_box_;
  ToolDialogFrame frame_;
};

const CommandRoute<frmAddServer> frmAddServer::kRoutes[] = {
    {cmdAdd, BN_CLICKED, &frmAddServer::cmdAdd_Click},
    {cmdBrowse, BN_CLICKED, &frmAddServer::cmdBrowse_Click},
    {cmdcancel, BN_CLICKED, &frmAddServer::cmdcancel_Click},
};

LRESULT frmAddServer::OnCommand(WPARAM wparam) {
  RouteCommand(*this, kRoutes, wparam);
  return 0;
}

}  // namespace

void ShowAddServerDialog(HWND main_window, RegistryBackend& registry, MainServerBox& main_box) {
  frmAddServer dialog(registry, main_box);
  if (dialog.Create(main_window)) RunModal(dialog.Window());
}

}  // namespace kelvary
