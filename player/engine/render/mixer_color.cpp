#include "player/engine/render/mixer_color.h"

#include <dxva2api.h>
#include <evr9.h>

#include <cmath>
#include <iterator>

#include "player/engine/video/color_control.h"

namespace lumorix::engine {

namespace {

struct Control {
  ColorSetting setting;
  DWORD procAmp;    // DXVA2_ProcAmp_*
  DWORD colorFlag;  // DDCOLOR_*
};

constexpr Control kControls[] = {
    {ColorSetting::Brightness, DXVA2_ProcAmp_Brightness, kColorBrightness},
    {ColorSetting::Contrast, DXVA2_ProcAmp_Contrast, kColorContrast},
    {ColorSetting::Hue, DXVA2_ProcAmp_Hue, kColorHue},
    {ColorSetting::Saturation, DXVA2_ProcAmp_Saturation, kColorSaturation},
};

double FromFixed(const DXVA2_Fixed32& value) { return value.Value + value.Fraction / 65536.0; }

DXVA2_Fixed32 ToFixed(double value) {
  LONG whole = static_cast<LONG>(std::lround(value * 65536.0));
  DXVA2_Fixed32 fixed{};
  fixed.ll = whole;
  return fixed;
}

}  // namespace

DWORD MixerColor::ReadRanges(IMFVideoProcessor* mixer) {
  DWORD flags = 0;
  for (size_t index = 0; index < std::size(kControls); ++index) {
    DXVA2_ValueRange range{};
    adjustable_[index] = false;
    if (!mixer || FAILED(mixer->GetProcAmpRange(kControls[index].procAmp, &range))) continue;
    ranges_[index] = {FromFixed(range.MinValue), FromFixed(range.MaxValue), FromFixed(range.DefaultValue),
                      FromFixed(range.StepSize)};
    adjustable_[index] = Adjustable(ranges_[index]);
    if (adjustable_[index]) flags |= kControls[index].colorFlag;
  }
  return flags;
}

HRESULT MixerColor::Apply(IMFVideoProcessor* mixer, const ColorValues& values) const {
  if (!mixer) return E_POINTER;
  const int given[] = {values.brightness, values.contrast, values.hue, values.saturation};
  DXVA2_ProcAmpValues out{};
  DXVA2_Fixed32* fields[] = {&out.Brightness, &out.Contrast, &out.Hue, &out.Saturation};
  DWORD which = 0;
  for (size_t index = 0; index < std::size(kControls); ++index) {
    if (!adjustable_[index]) continue;
    if (auto mapped = ToMixerValue(kControls[index].setting, given[index], ranges_[index])) {
      *fields[index] = ToFixed(*mapped);
      which |= kControls[index].procAmp;
    }
  }
  if (!which) return S_FALSE;
  return mixer->SetProcAmpValues(which, &out);
}

}  // namespace lumorix::engine
