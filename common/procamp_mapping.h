#pragma once
// The colour window's values (the overlay's scale: brightness 0..10000 with
// 750 as normal, contrast and saturation 0..20000 with 10000, hue -180..180
// with 0) onto a video mixer's picture controls, whose ranges and normal
// values the mixer reports. The normal value lands on the mixer's default,
// each end on the mixer's end, linearly in between on either side.
#include <optional>

#include "common/color_ranges.h"

namespace lumorix {

struct MixerRange {
  double min = 0;
  double max = 0;
  double normal = 0;
  double step = 0;  // 0: any value
};

// The overlay scale's value that means "unchanged".
int NormalColorValue(ColorSetting setting);

// A range the mixer can be moved in: min below max, the default inside.
bool Adjustable(const MixerRange& range);

// The mixer's value for the colour window's `value`, on the mixer's steps;
// none for a setting mixers have no control for (sharpness, gamma).
std::optional<double> ToMixerValue(ColorSetting setting, int value, const MixerRange& range);

}  // namespace lumorix
