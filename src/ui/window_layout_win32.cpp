#include "ui/window_layout_win32.h"

#include <cstring>

namespace kelvary {
namespace {

// A drop-down list's table height is the closed box; the window itself also
// spans the list that drops down, this many rows of 96-DPI pixels.
constexpr int kDropDownListHeight = 160;

bool IsComboBox(const ControlLayout& control) {
  return std::strcmp(control.window_class, "COMBOBOX") == 0;
}

int CreatedHeight(const ControlLayout& control, int dpi) {
  const int height = TwipsToPixels(control.rect.height, dpi);
  return IsComboBox(control) ? height + ScaleForDpi(kDropDownListHeight, dpi) : height;
}

// The closed height of a combo box follows its selection field, not its
// window: set the field so that the closed box has the table's height.
void FitClosedComboHeight(HWND combo, const ControlLayout& control, int dpi) {
  RECT closed{};
  GetWindowRect(combo, &closed);
  const int field = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const int frame = (closed.bottom - closed.top) - field;
  const int wanted = TwipsToPixels(control.rect.height, dpi) - frame;
  if (wanted > 0 && wanted != field) {
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
  }
}

void PlaceControl(HWND window, const ControlLayout& control, int dpi, HFONT font) {
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  const PixelRect at = TwipsRectToPixels(control.rect, dpi);
  SetWindowPos(window, nullptr, at.left, at.top, at.width, CreatedHeight(control, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (IsComboBox(control)) FitClosedComboHeight(window, control, dpi);
}

}  // namespace

DialogFont::DialogFont(int dpi) {
  LOGFONTA font{};
  font.lfHeight = FontHeightForDpi(kDialogFontPoints, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(font.lfFaceName, kDialogFontFace, LF_FACESIZE);
  font_ = CreateFontIndirectA(&font);
}

DialogFont::~DialogFont() {
  if (font_) DeleteObject(font_);
}

int WindowDpi(HWND window) {
  const UINT dpi = GetDpiForWindow(window);
  return dpi ? static_cast<int>(dpi) : kBaseDpi;
}

bool CreateControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font) {
  for (const ControlLayout& control : table) {
    HWND window = CreateWindowExA(control.ex_style, control.window_class, control.caption,
                                  WS_CHILD | WS_VISIBLE | control.style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return false;
    PlaceControl(window, control, dpi, font);
  }
  return true;
}

void LayoutControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font) {
  for (const ControlLayout& control : table) {
    if (HWND window = GetDlgItem(parent, control.id)) PlaceControl(window, control, dpi, font);
  }
}

void SizeWindowForClient(HWND window, const TwipsSize& client, int dpi) {
  RECT outer{0, 0, TwipsToPixels(client.width, dpi), TwipsToPixels(client.height, dpi)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&outer, style, GetMenu(window) != nullptr, ex_style,
                           static_cast<UINT>(dpi));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A menu bar that wraps onto a second row takes client height that the
  // computation above does not know of; give it back.
  RECT inner{};
  GetClientRect(window, &inner);
  const int missing = TwipsToPixels(client.height, dpi) - (inner.bottom - inner.top);
  if (missing > 0) {
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace kelvary
