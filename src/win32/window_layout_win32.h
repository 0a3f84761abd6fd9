#pragma once
// Windows declared as control tables in twips: creating the controls, laying
// them out again for a new DPI, the dialog font for a DPI, and the outer
// size that gives a window its client area.
#include <windows.h>

#include <span>

#include "win32/dpi.h"

namespace kelvary {

// The dialog font, or another font a control shows, at one DPI; owns it.
class DialogFont {
 public:
  explicit DialogFont(int dpi, const FontSpec& spec = kDialogFont);
  ~DialogFont();
  DialogFont(const DialogFont&) = delete;
  DialogFont& operator=(const DialogFont&) = delete;
  HFONT Handle() const { return font_; }

 private:
  HFONT font_;
};

// The DPI the window is shown at; kBaseDpi when the system cannot say.
int WindowDpi(HWND window);

// Creates the table's controls as children of `parent`, in table order (the
// order Tab walks), at `dpi` with `font`. False when one cannot be created.
bool CreateControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font);

// Moves and sizes the table's controls for `dpi` and gives them `font`.
void LayoutControls(HWND parent, std::span<const ControlLayout> table, int dpi, HFONT font);

// Sizes `window` so that its client area is `client` at `dpi`, keeping its
// top left corner.
void SizeWindowForClient(HWND window, const TwipsSize& client, int dpi);

}  // namespace kelvary
