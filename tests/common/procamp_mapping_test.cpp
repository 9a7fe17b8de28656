// The colour window's values onto a video mixer's picture controls.
#include <gtest/gtest.h>

#include "common/procamp_mapping.h"

using namespace lumorix;

namespace {

// Ranges as Direct3D mixers report them, and odd ones a driver might.
constexpr MixerRange kBrightness{-100, 100, 0, 1};
constexpr MixerRange kContrast{0, 10, 1, 0.01};
constexpr MixerRange kHue{-180, 180, 0, 1};
constexpr MixerRange kLopsided{0, 255, 128, 0};

}  // namespace

TEST(ProcAmpMapping, NormalLandsOnTheDefaultAndEndsOnTheEnds) {
  struct Case {
    ColorSetting setting;
    int value;
    MixerRange range;
    double expected;
  } cases[] = {
      {ColorSetting::Brightness, 750, kBrightness, 0},
      {ColorSetting::Brightness, 0, kBrightness, -100},
      {ColorSetting::Brightness, 10000, kBrightness, 100},
      {ColorSetting::Brightness, 375, kBrightness, -50},
      {ColorSetting::Brightness, 5375, kBrightness, 50},
      {ColorSetting::Brightness, 760, kBrightness, 0},  // less than a step: snapped back
      {ColorSetting::Contrast, 10000, kContrast, 1},
      {ColorSetting::Contrast, 0, kContrast, 0},
      {ColorSetting::Contrast, 5000, kContrast, 0.5},
      {ColorSetting::Contrast, 20000, kContrast, 10},
      {ColorSetting::Contrast, 15000, kContrast, 5.5},
      {ColorSetting::Hue, -180, kHue, -180},
      {ColorSetting::Hue, 90, kHue, 90},
      {ColorSetting::Saturation, 10000, kLopsided, 128},
      {ColorSetting::Saturation, 0, kLopsided, 0},
      {ColorSetting::Saturation, 20000, kLopsided, 255},
      {ColorSetting::Saturation, 30000, kLopsided, 255},  // outside the scale: held at the end
  };
  for (const Case& c : cases) {
    auto mapped = ToMixerValue(c.setting, c.value, c.range);
    ASSERT_TRUE(mapped) << c.value;
    EXPECT_NEAR(*mapped, c.expected, 1e-9) << "setting " << int(c.setting) << " value " << c.value;
  }
}

TEST(ProcAmpMapping, NothingForWhatAMixerCannotMove) {
  EXPECT_FALSE(ToMixerValue(ColorSetting::Sharpness, 5, kBrightness));
  EXPECT_FALSE(ToMixerValue(ColorSetting::Gamma, 1, kBrightness));
  EXPECT_FALSE(ToMixerValue(ColorSetting::Brightness, 750, MixerRange{0, 0, 0, 0}));    // a fixed control
  EXPECT_FALSE(ToMixerValue(ColorSetting::Contrast, 10000, MixerRange{0, 10, 20, 1}));  // default outside
  EXPECT_FALSE(Adjustable(MixerRange{}));
  EXPECT_TRUE(Adjustable(kLopsided));
}
