#include "win32/dpi.h"

namespace kelvary {
namespace {

// numerator × dpi / denominator, rounded with halves away from zero; 64-bit
// so that no layout value can overflow.
int ScaleRounded(int value, int dpi, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
  const std::int64_t half = denominator / 2;
  const std::int64_t rounded =
      product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
  return static_cast<int>(rounded);
}

}  // namespace

int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }

int ScaleForDpi(int pixels_at_base_dpi, int dpi) {
  return ScaleRounded(pixels_at_base_dpi, dpi, kBaseDpi);
}

int FontHeightForDpi(int size_twips, int dpi) { return -TwipsToPixels(size_twips, dpi); }

PixelRect TwipsRectToPixels(const TwipsRect& rect, int dpi) {
  return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
          TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi)};
}

}  // namespace kelvary
