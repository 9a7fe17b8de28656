#include "common/picture_colour.h"

#include <algorithm>

#include "common/procamp_mapping.h"

namespace lumorix {

YuvMatrix MatrixFor(int width, int height, std::optional<YuvMatrix> stated) {
  if (stated) return *stated;
  return width >= 1280 || height >= 720 ? YuvMatrix::kBt709 : YuvMatrix::kBt601;
}

std::array<float, 12> YuvToRgbMatrix(YuvMatrix matrix, YuvRange range) {
  // Luma weights of red and blue; green's follows.
  const double kr = matrix == YuvMatrix::kBt709 ? 0.2126 : 0.299;
  const double kb = matrix == YuvMatrix::kBt709 ? 0.0722 : 0.114;
  const double kg = 1.0 - kr - kb;
  // Limited range: luma 16..235, chroma 16..240 around 128.
  const bool limited = range == YuvRange::kLimited;
  const double yScale = limited ? 255.0 / 219.0 : 1.0;
  const double cScale = limited ? 255.0 / 224.0 : 1.0;
  const double yOffset = limited ? 16.0 / 255.0 : 0.0;
  const double cOffset = 128.0 / 255.0;
  const double rCr = 2.0 * (1.0 - kr) * cScale;
  const double bCb = 2.0 * (1.0 - kb) * cScale;
  const double gCb = -bCb * kb / kg;
  const double gCr = -rCr * kr / kg;
  auto row = [&](double cb, double cr) {
    return std::array<double, 4>{yScale, cb, cr, -yScale * yOffset - cb * cOffset - cr * cOffset};
  };
  std::array<std::array<double, 4>, 3> rows = {row(0, rCr), row(gCb, gCr), row(bCb, 0)};
  std::array<float, 12> out{};
  for (size_t r = 0; r < 3; ++r)
    for (size_t c = 0; c < 4; ++c) out[r * 4 + c] = static_cast<float>(rows[r][c]);
  return out;
}

PictureAdjustment AdjustmentFor(int brightness, int contrast, int hue, int saturation, int sharpness, int gamma) {
  PictureAdjustment adjustment;
  // The four the overlay and the mixers had, onto the shader's ranges as onto a mixer's.
  adjustment.brightness = static_cast<float>(*ToMixerValue(ColorSetting::Brightness, brightness, {-0.5, 0.5, 0, 0}));
  adjustment.contrast = static_cast<float>(*ToMixerValue(ColorSetting::Contrast, contrast, {0, 2, 1, 0}));
  adjustment.hueDegrees = static_cast<float>(*ToMixerValue(ColorSetting::Hue, hue, {-180, 180, 0, 0}));
  adjustment.saturation = static_cast<float>(*ToMixerValue(ColorSetting::Saturation, saturation, {0, 2, 1, 0}));
  // Sharpness 0..10 around 5: below it softer down to the blurred picture, above it sharper.
  int s = std::clamp(sharpness, 0, 10);
  adjustment.sharpness = s <= 5 ? (s - 5) / 5.0f : (s - 5) * 2.0f / 5.0f;
  // Gamma 1..500, 1 as it is: mid greys lifted as it grows.
  adjustment.gamma = 1.0f + (std::clamp(gamma, 1, 500) - 1) / 100.0f;
  return adjustment;
}

}  // namespace lumorix
