#include "win32/control_text_win32.h"

namespace kelvary {

std::string ControlText(HWND control) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string ListBoxItemText(HWND list, int index) {
  const auto item = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, item, 0);
  if (length == LB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

void FitWidthToText(HWND label, int margin) {
  const std::string text = ControlText(label);
  HDC dc = GetDC(label);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old_font);
  ReleaseDC(label, dc);
  RECT rect{};
  GetClientRect(label, &rect);
  SetWindowPos(label, nullptr, 0, 0, extent.cx + margin, rect.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvary
