// The YUV matrices, the colour window's values as shader adjustments, and
// when a renderer shows, waits for or drops a picture.
#include <gtest/gtest.h>

#include <cmath>

#include "common/picture_colour.h"
#include "common/present_schedule.h"

using namespace lumorix;

namespace {

struct Rgb {
  double r, g, b;
};

Rgb Convert(YuvMatrix matrix, YuvRange range, int y, int cb, int cr) {
  auto m = YuvToRgbMatrix(matrix, range);
  double in[4] = {y / 255.0, cb / 255.0, cr / 255.0, 1};
  double out[3] = {};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) out[r] += m[r * 4 + c] * in[c];
  return {out[0], out[1], out[2]};
}

}  // namespace

TEST(PictureColour, MatricesTurnKnownSamplesIntoTheirColours) {
  struct Case {
    YuvMatrix matrix;
    YuvRange range;
    int y, cb, cr;
    Rgb expected;
  } cases[] = {
      {YuvMatrix::kBt601, YuvRange::kLimited, 16, 128, 128, {0, 0, 0}},
      {YuvMatrix::kBt601, YuvRange::kLimited, 235, 128, 128, {1, 1, 1}},
      {YuvMatrix::kBt709, YuvRange::kLimited, 235, 128, 128, {1, 1, 1}},
      {YuvMatrix::kBt601, YuvRange::kFull, 255, 128, 128, {1, 1, 1}},
      {YuvMatrix::kBt601, YuvRange::kFull, 0, 128, 128, {0, 0, 0}},
      // Red as each standard codes it (ffmpeg's values).
      {YuvMatrix::kBt601, YuvRange::kLimited, 81, 90, 240, {1, 0, 0}},
      {YuvMatrix::kBt709, YuvRange::kLimited, 63, 102, 240, {1, 0, 0}},
      {YuvMatrix::kBt601, YuvRange::kFull, 76, 85, 255, {1, 0, 0}},
  };
  for (const Case& c : cases) {
    Rgb rgb = Convert(c.matrix, c.range, c.y, c.cb, c.cr);
    EXPECT_NEAR(rgb.r, c.expected.r, 0.02) << c.y << "," << c.cb << "," << c.cr;
    EXPECT_NEAR(rgb.g, c.expected.g, 0.02) << c.y << "," << c.cb << "," << c.cr;
    EXPECT_NEAR(rgb.b, c.expected.b, 0.02) << c.y << "," << c.cb << "," << c.cr;
  }
}

TEST(PictureColour, StatedMatrixWinsElseHighDefinitionIsBt709) {
  EXPECT_EQ(MatrixFor(640, 360, std::nullopt), YuvMatrix::kBt601);
  EXPECT_EQ(MatrixFor(1280, 536, std::nullopt), YuvMatrix::kBt709);
  EXPECT_EQ(MatrixFor(960, 720, std::nullopt), YuvMatrix::kBt709);
  EXPECT_EQ(MatrixFor(1920, 1080, YuvMatrix::kBt601), YuvMatrix::kBt601);
  EXPECT_EQ(MatrixFor(320, 240, YuvMatrix::kBt709), YuvMatrix::kBt709);
}

TEST(PictureColour, EachSliderMovesOnlyItsOwnAdjustmentAndTheDefaultsChangeNothing) {
  const PictureAdjustment unchanged;
  EXPECT_EQ(AdjustmentFor(750, 10000, 0, 10000, 5, 1), unchanged);
  struct Case {
    int brightness, contrast, hue, saturation, sharpness, gamma;
    float PictureAdjustment::*field;
    float expected;
  } cases[] = {
      {0, 10000, 0, 10000, 5, 1, &PictureAdjustment::brightness, -0.5f},
      {10000, 10000, 0, 10000, 5, 1, &PictureAdjustment::brightness, 0.5f},
      {750, 0, 0, 10000, 5, 1, &PictureAdjustment::contrast, 0},
      {750, 20000, 0, 10000, 5, 1, &PictureAdjustment::contrast, 2},
      {750, 10000, 180, 10000, 5, 1, &PictureAdjustment::hueDegrees, 180},
      {750, 10000, -90, 10000, 5, 1, &PictureAdjustment::hueDegrees, -90},
      {750, 10000, 0, 0, 5, 1, &PictureAdjustment::saturation, 0},
      {750, 10000, 0, 10000, 0, 1, &PictureAdjustment::sharpness, -1},
      {750, 10000, 0, 10000, 10, 1, &PictureAdjustment::sharpness, 2},
      {750, 10000, 0, 10000, 5, 500, &PictureAdjustment::gamma, 5.99f},
  };
  for (const Case& c : cases) {
    PictureAdjustment moved = AdjustmentFor(c.brightness, c.contrast, c.hue, c.saturation, c.sharpness, c.gamma);
    EXPECT_NEAR(moved.*c.field, c.expected, 1e-4);
    PictureAdjustment rest = moved;
    rest.*c.field = unchanged.*c.field;
    EXPECT_EQ(rest, unchanged) << "only one adjustment moves";
  }
}

TEST(PresentSchedule, EarlyWaitsOnTimeShowsLateDropsButNotForever) {
  constexpr int64_t kFrame = 333333;  // 30 per second
  struct Case {
    int64_t start, now, frame;
    int dropped;
    PresentDecision expected;
  } cases[] = {
      {1000000, 500000, kFrame, 0, {PresentAction::kWait, 500000}},
      {1000000, 1000000, kFrame, 0, {PresentAction::kPresent, 0}},
      {1000000, 990000, kFrame, 0, {PresentAction::kPresent, 0}},   // a millisecond early: now
      {1000000, 1200000, kFrame, 0, {PresentAction::kPresent, 0}},  // late within a frame
      {1000000, 1400000, kFrame, 0, {PresentAction::kDrop, 0}},     // later than a frame
      {1000000, 1400000, kFrame, 4, {PresentAction::kPresent, 0}},  // four gone already: shown
      {1000000, 1200000, 100000, 0, {PresentAction::kPresent, 0}},  // short frames: 30 ms still on time
      {1000000, 1310000, 100000, 0, {PresentAction::kDrop, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecidePresent(c.start, c.now, c.frame, c.dropped), c.expected) << c.start << " at " << c.now;
}
