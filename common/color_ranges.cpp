#include "common/color_ranges.h"

#include "common/format.h"

namespace lumorix {

namespace {

struct RangeText {
  ColorRange range;
  const char* message;
};

RangeText TextOf(ColorSetting setting) {
  switch (setting) {
    case ColorSetting::Brightness:
      return {{0, 10000}, "Value %d out of range. Value must bee between 0 -> 10.000"};
    case ColorSetting::Contrast:
      return {{0, 20000}, "Value %d out of range. Value must bee between 0 -> 20.000"};
    case ColorSetting::Hue:
      return {{-180, 180}, "Value %d out of range. Value must bee between -180 -> 180"};
    case ColorSetting::Saturation:
      return {{0, 20000}, "Value %d out of range. Value must bee between 0 -> 20.000"};
    case ColorSetting::Sharpness:
      return {{0, 10}, "Value %d out of range. Value must bee between 0 -> 10"};
    case ColorSetting::Gamma:
      return {{1, 500}, "Value %d out of range. Value must bee between 1 -> 500"};
  }
  return {{0, 0}, "Value %d out of range."};
}

}  // namespace

ColorRange RangeOf(ColorSetting setting) { return TextOf(setting).range; }

std::optional<std::string> ColorRangeError(ColorSetting setting, int value) {
  RangeText text = TextOf(setting);
  if (value >= text.range.min && value <= text.range.max) return std::nullopt;
  return Format(text.message, value);
}

}  // namespace lumorix
