#include "common/procamp_mapping.h"

#include <algorithm>
#include <cmath>

namespace lumorix {

namespace {

double Between(double from, double to, double share) { return from + (to - from) * share; }

}  // namespace

int NormalColorValue(ColorSetting setting) {
  switch (setting) {
    case ColorSetting::Brightness:
      return 750;
    case ColorSetting::Contrast:
    case ColorSetting::Saturation:
      return 10000;
    case ColorSetting::Hue:
      return 0;
    case ColorSetting::Sharpness:
      return 5;
    case ColorSetting::Gamma:
      return 1;
  }
  return 0;
}

bool Adjustable(const MixerRange& range) {
  return range.min < range.max && range.normal >= range.min && range.normal <= range.max;
}

std::optional<double> ToMixerValue(ColorSetting setting, int value, const MixerRange& range) {
  if (setting == ColorSetting::Sharpness || setting == ColorSetting::Gamma || !Adjustable(range)) return std::nullopt;
  ColorRange scale = RangeOf(setting);
  int normal = NormalColorValue(setting);
  value = std::clamp(value, scale.min, scale.max);
  double mixer = value <= normal ? Between(range.min, range.normal,
                                           normal == scale.min ? 1.0 : double(value - scale.min) / (normal - scale.min))
                                 : Between(range.normal, range.max, double(value - normal) / (scale.max - normal));
  if (range.step > 0) mixer = range.normal + std::round((mixer - range.normal) / range.step) * range.step;
  return std::clamp(mixer, range.min, range.max);
}

}  // namespace lumorix
