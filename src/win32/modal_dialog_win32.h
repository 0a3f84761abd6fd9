#pragma once
// What the program's modal dialogs share: a fixed-size tool window (small
// title bar with a close box only, no taskbar button) owned by the main
// window and centred over it; its controls declared as a twips table, with
// the dialog font or a font of their own, laid out again when the DPI
// changes; and the modal run, during which the main window takes no input.
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

#include "win32/dpi.h"
#include "win32/window_layout_win32.h"

namespace kelvary {

inline constexpr DWORD kToolDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
// WS_EX_CONTROLPARENT lets the dialog keys walk into the dialog's controls.
inline constexpr DWORD kToolDialogExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A control that shows another font than the dialog font.
struct ControlFont {
  int id;
  FontSpec font;
};

// A dialog's controls, client area and fonts as declared; owns the fonts it
// makes for the window's DPI.
class DialogLayout {
 public:
  DialogLayout(std::span<const ControlLayout> controls, TwipsSize client,
               std::span<const ControlFont> own_fonts);
  ~DialogLayout();
  DialogLayout(const DialogLayout&) = delete;
  DialogLayout& operator=(const DialogLayout&) = delete;

  // Creates the controls in `window` at its DPI and gives it its client
  // size. False when a control cannot be created.
  bool Create(HWND window);

  // WM_DPICHANGED: fonts, controls and size again at `dpi`, the window's
  // corner moved to that of `suggested`.
  void Rescale(HWND window, int dpi, const RECT& suggested);

 private:
  void MakeFonts(int dpi);
  void GiveOwnFonts(HWND window) const;

  std::span<const ControlLayout> controls_;
  TwipsSize client_;
  std::span<const ControlFont> own_fonts_;
  std::unique_ptr<DialogFont> dialog_font_;
  std::vector<std::unique_ptr<DialogFont>> fonts_;  // one per own_fonts_ entry
};

// A plain window, unlike a dialog, does not give its control the focus back
// when it is activated again (after a message box, say); this does. Called
// with every WM_ACTIVATE.
class KeptFocus {
 public:
  void OnActivate(HWND window, bool active);

 private:
  HWND last_focus_ = nullptr;
};

// The parts every tool dialog shares: its layout and fonts, its focus, and
// the messages it answers alike.
class ToolDialogFrame {
 public:
  ToolDialogFrame(std::span<const ControlLayout> controls, TwipsSize client,
                  std::span<const ControlFont> own_fonts);

  // Creates the controls (DialogLayout::Create).
  bool Create(HWND window);

  // Activation (KeptFocus), a new DPI (DialogLayout::Rescale) and DM_GETDEFID
  // (without a default button Enter presses the focused push button and
  // nothing else); DefWindowProc for every other message.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  DialogLayout layout_;
  KeptFocus focus_;
};

// Shows `dialog` centred over its owner and handles the thread's messages
// until the dialog is destroyed; the owner takes no input meanwhile. A
// WM_QUIT that arrives is posted again for the outer loop and ends the run.
void RunModal(HWND dialog);

// Closes a dialog run by RunModal. Its owner takes input again before the
// dialog goes, so that Windows hands the activation back to the owner.
void EndModal(HWND dialog);

}  // namespace kelvary
