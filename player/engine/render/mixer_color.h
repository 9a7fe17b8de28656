#pragma once
// The colour controls on a video mixer's ProcAmp: which of brightness,
// contrast, hue and saturation it can move, in what range, and the colour
// window's values written onto those ranges.
#include <windows.h>

#include <array>

#include "common/procamp_mapping.h"
#include "platform/com.h"

#include <d3d9.h>
#include <evr.h>
#include <evr9.h>

namespace lumorix::engine {

struct ColorValues {
  int brightness = 750;
  int contrast = 10000;
  int hue = 0;
  int saturation = 10000;
};

class MixerColor {
 public:
  // Reads the mixer's ranges; the DirectDraw colour-control flags of what it can move.
  DWORD ReadRanges(IMFVideoProcessor* mixer);
  // Writes the values the mixer can take; the mixer's answer.
  HRESULT Apply(IMFVideoProcessor* mixer, const ColorValues& values) const;

 private:
  // Brightness, contrast, hue, saturation.
  std::array<MixerRange, 4> ranges_{};
  std::array<bool, 4> adjustable_{};
};

}  // namespace lumorix::engine
