#include "win32/modal_dialog_win32.h"

#include <cstring>

namespace kelvary {
namespace {

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The part of the screen the owner is on that windows may use (the taskbar
// left out); the primary screen's when there is no owner.
RECT WorkAreaOf(HWND owner) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

// The centre of `window` on the centre of `owner` (or of the screen), moved
// back inside the work area where it would stick out.
void CentreOverOwner(HWND window, HWND owner) {
  const RECT outer = WindowRectOf(window);
  const RECT area = WorkAreaOf(owner);
  const RECT over = owner ? WindowRectOf(owner) : area;
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  int left = (over.left + over.right - width) / 2;
  int top = (over.top + over.bottom - height) / 2;
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsPushButton(HWND window) {
  const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool IsLabel(const ControlLayout& control) { return std::strcmp(control.window_class, "STATIC") == 0; }

bool IsFrame(const ControlLayout& control) {
  return std::strcmp(control.window_class, "BUTTON") == 0 &&
         (control.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Behind every control so far, and clipped by the controls in front of it.
void SendToBack(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Labels overlap the boxes they name and frames hold boxes; behind the
// controls, frames behind everything, and clipped by what is in front, they
// never paint over them. Tab passes over both, so the order it walks stays
// the table's.
void SendLabelsAndFramesBack(HWND window, std::span<const ControlLayout> controls) {
  for (const ControlLayout& control : controls) {
    if (IsLabel(control)) SendToBack(window, control.id);
  }
  for (const ControlLayout& control : controls) {
    if (IsFrame(control)) SendToBack(window, control.id);
  }
}

// DM_GETDEFID's answer: the focused push button, or none.
LRESULT FocusedPushButtonAsDefault(HWND dialog) {
  HWND focus = GetFocus();
  if (!focus || !IsChild(dialog, focus) || !IsPushButton(focus)) return 0;
  return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
}

}  // namespace

DialogLayout::DialogLayout(std::span<const ControlLayout> controls, TwipsSize client,
                           std::span<const ControlFont> own_fonts)
    : controls_(controls), client_(client), own_fonts_(own_fonts) {}

DialogLayout::~DialogLayout() = default;

bool DialogLayout::Create(HWND window) {
  const int dpi = WindowDpi(window);
  MakeFonts(dpi);
  if (!CreateControls(window, controls_, dpi, dialog_font_->Handle())) return false;
  SendLabelsAndFramesBack(window, controls_);
  GiveOwnFonts(window);
  SizeWindowForClient(window, client_, dpi);
  return true;
}

void DialogLayout::Rescale(HWND window, int dpi, const RECT& suggested) {
  // The old fonts go only once no control uses them any more.
  const std::unique_ptr<DialogFont> old_dialog_font = std::move(dialog_font_);
  const std::vector<std::unique_ptr<DialogFont>> old_fonts = std::move(fonts_);
  MakeFonts(dpi);
  LayoutControls(window, controls_, dpi, dialog_font_->Handle());
  GiveOwnFonts(window);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SizeWindowForClient(window, client_, dpi);
}

void DialogLayout::MakeFonts(int dpi) {
  dialog_font_ = std::make_unique<DialogFont>(dpi);
  fonts_.clear();
  for (const ControlFont& own : own_fonts_) fonts_.push_back(std::make_unique<DialogFont>(dpi, own.font));
}

void DialogLayout::GiveOwnFonts(HWND window) const {
  for (std::size_t i = 0; i < own_fonts_.size(); ++i) {
    SendDlgItemMessageA(window, own_fonts_[i].id, WM_SETFONT,
                        reinterpret_cast<WPARAM>(fonts_[i]->Handle()), TRUE);
  }
}

void KeptFocus::OnActivate(HWND window, bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) last_focus_ = focus;
    return;
  }
  HWND target = last_focus_ && IsWindow(last_focus_) ? last_focus_
                                                      : GetNextDlgTabItem(window, nullptr, FALSE);
  if (target) SetFocus(target);
}

ToolDialogFrame::ToolDialogFrame(std::span<const ControlLayout> controls, TwipsSize client,
                                 std::span<const ControlFont> own_fonts)
    : layout_(controls, client, own_fonts) {}

bool ToolDialogFrame::Create(HWND window) { return layout_.Create(window); }

LRESULT ToolDialogFrame::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      focus_.OnActivate(window, LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      layout_.Rescale(window, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case DM_GETDEFID: return FocusedPushButtonAsDefault(window);
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

void RunModal(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  CentreOverOwner(dialog, owner);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);  // activates it: its KeptFocus focuses the first control
  MSG message{};
  while (IsWindow(dialog)) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (owner) EnableWindow(owner, TRUE);
}

void EndModal(HWND dialog) {
  if (HWND owner = GetWindow(dialog, GW_OWNER)) EnableWindow(owner, TRUE);
  DestroyWindow(dialog);
}

}  // namespace kelvary
