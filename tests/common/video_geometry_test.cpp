// Where the picture lands: letter-box fit, digital zoom and the ranges of the
// picture adjustments.
#include <gtest/gtest.h>

#include "common/color_ranges.h"
#include "common/video_geometry.h"

using namespace lumorix;

namespace lumorix {
void PrintTo(const PictureRect& r, std::ostream* out) {
  *out << r.width << "x" << r.height << " at " << r.left << "," << r.top;
}
}  // namespace lumorix

TEST(LetterBox, FitsThePictureWholeAndCentred) {
  EXPECT_EQ(LetterBoxFit(400, 300, 4, 3), (PictureRect{0, 0, 400, 300}));
  EXPECT_EQ(LetterBoxFit(400, 300, 16, 9), (PictureRect{0, 37, 400, 225}));
  // A tall picture gets bars at the sides.
  EXPECT_EQ(LetterBoxFit(400, 300, 9, 16), (PictureRect{115, 0, 169, 300}));
  EXPECT_EQ(LetterBoxFit(1024, 768, 640, 480), (PictureRect{0, 0, 1024, 768}));
  EXPECT_EQ(LetterBoxFit(1920, 1080, 4, 3), (PictureRect{240, 0, 1440, 1080}));
}

TEST(LetterBox, PictureWithoutAspectFillsTheClient) {
  EXPECT_EQ(LetterBoxFit(400, 300, 0, 3), (PictureRect{0, 0, 400, 300}));
  EXPECT_EQ(LetterBoxFit(400, 300, 4, 0), (PictureRect{0, 0, 400, 300}));
  EXPECT_EQ(LetterBoxFit(0, 0, 16, 9), (PictureRect{0, 0, 0, 0}));
}

TEST(LetterBox, MulDivRoundsLikeWindows) {
  EXPECT_EQ(MulDivRounded(9, 400, 16), 225);
  EXPECT_EQ(MulDivRounded(1, 3, 2), 2);    // 1.5 rounds up
  EXPECT_EQ(MulDivRounded(-1, 3, 2), -2);  // and away from zero below it
  EXPECT_EQ(MulDivRounded(7, 1, 0), 0);
  EXPECT_EQ(MulDivRounded(2000000000, 2, 4), 1000000000);  // no overflow in the product
}

TEST(DigitalZoom, CutsTheSourceAroundItsCentre) {
  EXPECT_EQ(ZoomedSource(640, 480, 50), (PictureRect{160, 120, 320, 240}));
  EXPECT_EQ(ZoomedSource(640, 480, 0), (PictureRect{0, 0, 640, 480}));
  EXPECT_EQ(ZoomedSource(640, 480, 99), (PictureRect{316, 237, 6, 4}));
  EXPECT_EQ(ZoomedSource(321, 241, 33), (PictureRect{52, 39, 215, 161}));
  EXPECT_EQ(ZoomedSource(0, 480, 50), (PictureRect{0, 0, 0, 480}));
}

TEST(DigitalZoom, RangeIsZeroToNinetyNine) {
  EXPECT_FALSE(DigitalZoomRangeError(0));
  EXPECT_FALSE(DigitalZoomRangeError(99));
  EXPECT_EQ(DigitalZoomRangeError(100), "Value 100 out of range. Value must bee between 0 -> 99");
  EXPECT_EQ(DigitalZoomRangeError(-1), "Value -1 out of range. Value must bee between 0 -> 99");
}

TEST(ColorRanges, BoundsAreInsideAndOneBeyondIsRefused) {
  struct Case {
    ColorSetting setting;
    int min, max;
    const char* upper;
  };
  const Case cases[] = {
      {ColorSetting::Brightness, 0, 10000, "0 -> 10.000"}, {ColorSetting::Contrast, 0, 20000, "0 -> 20.000"},
      {ColorSetting::Hue, -180, 180, "-180 -> 180"},       {ColorSetting::Saturation, 0, 20000, "0 -> 20.000"},
      {ColorSetting::Sharpness, 0, 10, "0 -> 10"},         {ColorSetting::Gamma, 1, 500, "1 -> 500"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.upper);
    EXPECT_FALSE(ColorRangeError(c.setting, c.min));
    EXPECT_FALSE(ColorRangeError(c.setting, c.max));
    EXPECT_EQ(ColorRangeError(c.setting, c.max + 1),
              "Value " + std::to_string(c.max + 1) + " out of range. Value must bee between " + c.upper);
    EXPECT_EQ(ColorRangeError(c.setting, c.min - 1),
              "Value " + std::to_string(c.min - 1) + " out of range. Value must bee between " + c.upper);
  }
}
