// Twips to pixels at the DPIs Windows offers (100 %, 125 %, 150 %, 200 %),
// rounding of halves, the dialog font's height and 96-DPI values scaled.
#include <gtest/gtest.h>

#include "win32/dpi.h"

namespace kelvary {
namespace {

struct TwipsCase {
  int twips;
  int dpi;
  int pixels;
};

class TwipsToPixelsTest : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixelsTest, IsTwipsTimesDpiOver1440Rounded) {
  EXPECT_EQ(TwipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowValues, TwipsToPixelsTest,
    ::testing::Values(TwipsCase{120, 96, 8}, TwipsCase{615, 96, 41}, TwipsCase{5265, 96, 351},
                      TwipsCase{3405, 96, 227}, TwipsCase{1440, 96, 96},
                      // 125 %: 615 × 120 / 1440 = 51.25, 285 → 23.75
                      TwipsCase{615, 120, 51}, TwipsCase{285, 120, 24},
                      // 150 %: exact halves round up, 615 → 61.5, 255 → 25.5
                      TwipsCase{615, 144, 62}, TwipsCase{255, 144, 26}, TwipsCase{195, 144, 20},
                      TwipsCase{5265, 144, 527}, TwipsCase{3405, 144, 341},
                      TwipsCase{5265, 192, 702}, TwipsCase{0, 144, 0},
                      // left of the client area (a window moved off screen)
                      TwipsCase{-615, 144, -62}));

TEST(TwipsRectToPixelsTest, RoundsEachEdgeValueOnItsOwn) {
  EXPECT_EQ(TwipsRectToPixels({840, 120, 3135, 315}, 96), (PixelRect{56, 8, 209, 21}));
  EXPECT_EQ(TwipsRectToPixels({120, 1320, 4335, 195}, 120), (PixelRect{10, 110, 361, 16}));
}

TEST(ScaleForDpiTest, ScalesFrom96) {
  EXPECT_EQ(ScaleForDpi(160, kBaseDpi), 160);
  EXPECT_EQ(ScaleForDpi(160, 144), 240);
  EXPECT_EQ(ScaleForDpi(13, 120), 16);  // 16.25
  EXPECT_EQ(ScaleForDpi(3, 144), 5);    // 4.5 rounds up
}

TEST(FontHeightForDpiTest, IsNegativePointsAtTheDpiRoundedHalvesUp) {
  const int cases[][3] = {
      {kDialogFont.size_twips, 96, -11},   // 8 pt: 10.67
      {kDialogFont.size_twips, 120, -13},  // 13.33
      {kDialogFont.size_twips, 144, -16},
      {kDialogFont.size_twips, 192, -21},  // 21.33
      {165, 96, -11},                      // 8.25 pt of a symbol font: 11.0
      {195, 96, -13},                      // 9.75 pt: 13.0
      {195, 144, -20},                     // 19.5 rounds up
      {165, 120, -14},                     // 13.75
  };
  for (const auto& [twips, dpi, height] : cases) {
    EXPECT_EQ(FontHeightForDpi(twips, dpi), height) << twips << " at " << dpi;
  }
}

}  // namespace
}  // namespace kelvary
