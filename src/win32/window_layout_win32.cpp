#include "win32/window_layout_win32.h"

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

int WindowHeight(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

// The closed height of a combo box follows its selection field, not its
// window: set the field so that the closed box has the table's height. The
// field's frame differs between systems (Wine adds two pixels to what it is
// given), so the result is measured and set once more if it is off.
void FitClosedComboHeight(HWND combo, const ControlLayout& control, int dpi) {
  constexpr int kAttempts = 2;
  const int wanted = TwipsToPixels(control.rect.height, dpi);
  auto field = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const int off_by = wanted - WindowHeight(combo);
    if (off_by == 0 || field + off_by <= 0) return;
    field += off_by;
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
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

DialogFont::DialogFont(int dpi, const FontSpec& spec) {
  LOGFONTA font{};
  font.lfHeight = FontHeightForDpi(spec.size_twips, dpi);
  font.lfWeight = FW_NORMAL;
  // A symbol font asked for in the default character set could be swapped
  // for a text font.
  font.lfCharSet = spec.symbol ? SYMBOL_CHARSET : DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(font.lfFaceName, spec.face, LF_FACESIZE);
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
  const int width = TwipsToPixels(client.width, dpi);
  const int height = TwipsToPixels(client.height, dpi);
  RECT outer{0, 0, width, height};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&outer, style, GetMenu(window) != nullptr, ex_style,
                           static_cast<UINT>(dpi));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame can differ from the computed one: a menu bar that wraps onto
  // a second row, or a frame not drawn at the new DPI (Wine). Measure the
  // client area and correct the outer size by what it is off.
  RECT inner{};
  GetClientRect(window, &inner);
  const int wider = width - (inner.right - inner.left);
  const int taller = height - (inner.bottom - inner.top);
  if (wider != 0 || taller != 0) {
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + wider,
                 outer.bottom - outer.top + taller, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace kelvary
