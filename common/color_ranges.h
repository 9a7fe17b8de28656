#pragma once
// The ranges of the overlay's picture adjustments and the error texts for
// values outside them.
#include <optional>
#include <string>

namespace lumorix {

enum class ColorSetting { Brightness, Contrast, Hue, Saturation, Sharpness, Gamma };

struct ColorRange {
  int min;
  int max;
};

ColorRange RangeOf(ColorSetting setting);

// The error text for a value outside the setting's range, none for a valid one.
std::optional<std::string> ColorRangeError(ColorSetting setting, int value);

}  // namespace lumorix
