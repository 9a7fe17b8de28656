// Design units (96 DPI) to pixels, font heights and faces, and the pictures
// drawn at a scaled size.
#include <gtest/gtest.h>

#include "common/design_scale.h"

using namespace lumorix;

TEST(DesignScale, LengthsPlacesAndFontsAtCommonScales) {
  struct Case {
    int dpi;
    int length;       // 7 design units
    int clientWidth;  // the settings window's 575
    ScaledSpan span;  // a control at 3, 30 wide
    int font;         // the design font's -11
  };
  const Case cases[] = {
      {96, 7, 575, {3, 30}, -11},    {120, 9, 719, {4, 37}, -14},   {144, 11, 863, {5, 45}, -17},
      {168, 12, 1006, {5, 53}, -19}, {192, 14, 1150, {6, 60}, -22}, {288, 21, 1725, {9, 90}, -33},
      {0, 7, 575, {3, 30}, -11},  // no DPI known: the design's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(ScaleToDpi(7, c.dpi), c.length);
    EXPECT_EQ(ScaleToDpi(575, c.dpi), c.clientWidth);
    EXPECT_EQ(ScaleSpan(3, 30, c.dpi), c.span);
    EXPECT_EQ(ScaleFontHeight(-11, c.dpi), c.font);
  }
  // Runs that meet in the design meet when scaled, whatever the rounding of each.
  for (int dpi : {120, 144, 168}) {
    ScaledSpan first = ScaleSpan(0, 199, dpi), second = ScaleSpan(199, 70, dpi);
    EXPECT_EQ(first.start + first.length, second.start) << dpi;
  }
  EXPECT_EQ(ScaleFontHeight(0, 144), 0);   // the default font stays the default
  EXPECT_EQ(ScaleFontHeight(-1, 48), -1);  // never rounded away to the default
  EXPECT_EQ(RescaleDpi(300, 144, 96), 200);
}

TEST(DesignScale, TheBitmapFontIsReplacedAwayFromItsDpi) {
  EXPECT_EQ(FontFaceAtDpi(L"MS Sans Serif", 96), L"MS Sans Serif");
  EXPECT_EQ(FontFaceAtDpi(L"MS Sans Serif", 144), L"Microsoft Sans Serif");
  EXPECT_EQ(FontFaceAtDpi(L"Arial Black", 144), L"Arial Black");
}

TEST(DesignScale, PicksTheSmallestArtThatIsLargeEnough) {
  EXPECT_EQ(PickArt({48, 96}, 48), 0u);
  EXPECT_EQ(PickArt({48, 96}, 72), 1u);
  EXPECT_EQ(PickArt({96, 48}, 60), 0u);
  EXPECT_EQ(PickArt({48, 96}, 144), 1u);  // none large enough: the largest
  EXPECT_EQ(PickArt({48}, 24), 0u);
  EXPECT_EQ(PickArt({}, 24), 0u);
}

TEST(DesignScale, AreaResamplingKeepsEdgesAndAveragesWhatItShrinks) {
  PremultipliedImage checker{2, 2, {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u}};
  // Doubling repeats each pixel: no blur.
  PremultipliedImage doubled = ResampleArea(checker, 4, 4);
  EXPECT_EQ(doubled.pixels[0], 0xFF000000u);
  EXPECT_EQ(doubled.pixels[1 * 4 + 1], 0xFF000000u);
  EXPECT_EQ(doubled.pixels[1 * 4 + 2], 0xFFFFFFFFu);
  // One and a half: the middle pixel straddles both and mixes them, the outer ones stay.
  PremultipliedImage wider = ResampleArea(PremultipliedImage{2, 1, {0xFF000000u, 0xFF0000FFu}}, 3, 1);
  EXPECT_EQ(wider.pixels, (std::vector<uint32_t>{0xFF000000u, 0xFF000080u, 0xFF0000FFu}));
  // Halving averages every channel, alpha included (premultiplied stays valid).
  PremultipliedImage half = ResampleArea(PremultipliedImage{2, 2, {0xFF204060u, 0u, 0u, 0u}}, 1, 1);
  EXPECT_EQ(half.pixels, (std::vector<uint32_t>{0x40081018u}));
  EXPECT_EQ(ResampleArea(checker, 2, 2).pixels, checker.pixels);
  EXPECT_EQ(ResampleArea(PremultipliedImage{}, 2, 1).pixels, (std::vector<uint32_t>{0u, 0u}));
}
