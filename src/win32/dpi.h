#pragma once
// Layout arithmetic for windows declared in twips (1/1440 inch): the pixel
// size of a twip value, of a 96-DPI pixel value and of the dialog font at a
// window's DPI, and the control table a window is declared with.
#include <cstdint>

namespace kelvary {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;
// Pixel values written for a plain 100 % screen are scaled from this DPI.
inline constexpr int kBaseDpi = 96;

inline constexpr int kTwipsPerPoint = kTwipsPerInch / kPointsPerInch;

// A font by face and size. The size is in twips so that the fractional
// point sizes of symbol fonts fit (9.75 pt is 195 twips).
struct FontSpec {
  const char* face;
  int size_twips;
  bool symbol;  // a symbol font such as Wingdings, with its own character set
};

// The classic dialog font every window uses.
inline constexpr FontSpec kDialogFont{"MS Shell Dlg 2", 8 * kTwipsPerPoint, false};

// twips × dpi / 1440, rounded to the nearest pixel (halves away from zero).
int TwipsToPixels(int twips, int dpi);

// A pixel value meant for 96 DPI, scaled to `dpi` and rounded.
int ScaleForDpi(int pixels_at_base_dpi, int dpi);

// The character height of a font of `size_twips` at `dpi`, negative as
// LOGFONT's lfHeight wants it for a character (not cell) height.
int FontHeightForDpi(int size_twips, int dpi);

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct TwipsSize {
  int width;
  int height;
};

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

PixelRect TwipsRectToPixels(const TwipsRect& rect, int dpi);

// One control of a window declared as a table: created in table order, which
// is also the order Tab walks.
struct ControlLayout {
  int id;
  const char* window_class;  // "BUTTON", "COMBOBOX", ...
  const char* caption;
  TwipsRect rect;
  std::uint32_t style;     // WS_* and the class's own styles, WS_CHILD implied
  std::uint32_t ex_style;  // WS_EX_*
};

}  // namespace kelvary
