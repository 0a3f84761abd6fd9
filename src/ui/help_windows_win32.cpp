#include "ui/help_windows_win32.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "ui/info_texts.h"
#include "ui/resource_ids.h"
#include "ui/version_record_win32.h"
#include "win32/base_window.h"
#include "win32/modal_dialog_win32.h"

namespace kelvary {
namespace {

using info_window::Command1;
using info_window::txtInfo;

// Word wrap (no horizontal scrolling) and Enter for a new line: the user may
// edit the text, as in any text box.
constexpr DWORD kTextBox = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP;
// A push button that is never the default one.
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
// A fixed dialog border, without the tool window's small title bar.
constexpr DWORD kFixedDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// What sets the two windows apart. Controls in the order Tab walks them, the
// first having the focus when the window opens; twips of the client area.
struct HelpKind {
  static constexpr const char* kClassName = frm_help::kClassName;
  static constexpr DWORD kExStyle = kToolDialogExStyle;
  static constexpr TwipsSize kClientSize = frm_help::kClientSize;
  static constexpr std::array<ControlLayout, 2> kControls{{
      {txtInfo, "EDIT", "", {120, 120, 5055, 2775}, kTextBox, WS_EX_CLIENTEDGE},
      {Command1, "BUTTON", "Close", {2040, 3120, 855, 375}, kButton, 0},
  }};
  static constexpr WORD kIcon = 0;  // a tool window shows none
  static std::string Caption() { return frm_help::kCaption; }
  static std::string Text() { return HelpText(); }
};

struct AboutKind {
  static constexpr const char* kClassName = frm_about::kClassName;
  static constexpr DWORD kExStyle = kFixedDialogExStyle;
  static constexpr TwipsSize kClientSize = frm_about::kClientSize;
  static constexpr std::array<ControlLayout, 2> kControls{{
      {Command1, "BUTTON", "Close", {3240, 3120, 855, 375}, kButton, 0},
      {txtInfo, "EDIT", "", {120, 360, 5055, 2535}, kTextBox, WS_EX_CLIENTEDGE},
  }};
  static constexpr WORD kIcon = IDI_ABOUT;
  static std::string Caption() { return frm_about::kCaptionStart + OwnVersionRecord().product_name; }
  static std::string Text() { return AboutText(OwnVersionRecord()); }
};

HICON LoadWindowIcon(WORD icon, int metric_x, int metric_y) {
  if (icon == 0) return nullptr;
  return static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(icon), IMAGE_ICON,
                                       GetSystemMetrics(metric_x), GetSystemMetrics(metric_y),
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

// A multi-line text box that gets the dialog keys closes its window on Esc
// (it posts WM_CLOSE). Esc is no key of these windows: the box drops it.
LRESULT CALLBACK IgnoreEscape(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                              DWORD_PTR) {
  if (message == WM_KEYDOWN && wparam == VK_ESCAPE) return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &IgnoreEscape, id);
  return DefSubclassProc(box, message, wparam, lparam);
}

template <class Kind>
class InfoWindow final : public BaseWindow<InfoWindow<Kind>> {
 public:
  static constexpr const char* kClassName = Kind::kClassName;

  InfoWindow() : frame_(Kind::kControls, Kind::kClientSize, {}) {}
  ~InfoWindow() {
    if (this->hwnd_) DestroyWindow(this->hwnd_);
  }

  bool Create(HWND owner) {
    return this->RegisterWindowClass(LoadWindowIcon(Kind::kIcon, SM_CXICON, SM_CYICON),
                                     LoadWindowIcon(Kind::kIcon, SM_CXSMICON, SM_CYSMICON)) &&
           this->CreateWindowOfClass(Kind::Caption().c_str(), kToolDialogStyle, Kind::kExStyle,
                                     nullptr, owner);
  }

  // The router: each case hands one message to one handler.
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_CREATE: return OnCreate();
      case WM_COMMAND: return OnCommand(wparam);
      case WM_NEXTDLGCTL: return OnNextControl(wparam, lparam);
      case WM_CLOSE: return OnClose();
      default: return frame_.HandleMessage(this->hwnd_, message, wparam, lparam);
    }
  }

 private:
  LRESULT OnCreate() {
    if (!frame_.Create(this->hwnd_)) return -1;
    SetWindowSubclass(GetDlgItem(this->hwnd_, txtInfo), &IgnoreEscape, 0, 0);
    Form_Load();
    return 0;
  }

  LRESULT OnCommand(WPARAM wparam) {
    if (LOWORD(wparam) == Command1 && HIWORD(wparam) == BN_CLICKED) Command1_Click();
    return 0;
  }

  // A multi-line text box asks its parent for the next control when Tab is
  // pressed in it; a plain window, unlike a dialog, would ignore that.
  LRESULT OnNextControl(WPARAM wparam, LPARAM lparam) {
    HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam)
                               : GetNextDlgTabItem(this->hwnd_, GetFocus(), wparam != 0);
    if (next) SetFocus(next);
    return 0;
  }

  // The close box.
  LRESULT OnClose() {
    EndModal(this->hwnd_);
    return 0;
  }

  void Form_Load() { SetDlgItemTextA(this->hwnd_, txtInfo, Kind::Text().c_str()); }

  void Command1_Click() { EndModal(this->hwnd_); }

  ToolDialogFrame frame_;
};

using frmHelp = InfoWindow<HelpKind>;
using frmAbout = InfoWindow<AboutKind>;

template <class Window>
void ShowModally(HWND main_window) {
  Window window;
  if (window.Create(main_window)) RunModal(window.Window());
}

}  // namespace

void ShowHelpWindow(HWND main_window) { ShowModally<frmHelp>(main_window); }

void ShowAboutWindow(HWND main_window) { ShowModally<frmAbout>(main_window); }

}  // namespace kelvary
