#include "player/engine/video/color_control.h"

#include "common/color_ranges.h"
#include "common/picture_colour.h"
#include "player/engine/graph/filter_graph.h"
#include "player/engine/overlay/mixer_pin_config.h"
#include "player/engine/filters/pin_walk.h"
#include "player/engine/overlay/overlay_pins.h"
#include "ui/exception.h"

namespace lumorix::engine {

namespace {

DDCOLORCONTROL ConstructionDefaults() {
  DDCOLORCONTROL record{};
  record.dwSize = sizeof record;
  record.dwFlags = kAllColorControls;
  record.lBrightness = 750;
  record.lContrast = 10000;
  record.lHue = 0;
  record.lSaturation = 10000;
  record.lSharpness = 5;
  record.lGamma = 1;
  record.lColorEnable = 1;
  return record;
}

// The first input pin of the graph's last Overlay Mixer, as its colour-control interface.
ComPtr<IMixerPinConfig2> OverlayPinConfig(TFilterGraph* graph) {
  auto filterGraph = graph ? graph->Query<IFilterGraph>() : nullptr;
  return InputPinConfig(LastOverlayMixer(filterGraph.Get()).Get());
}

}  // namespace

TColorControl::TColorControl(std::function<TFilterGraph*()> graph, std::function<IVideoRenderer*()> renderer)
    : graph_(std::move(graph)), renderer_(std::move(renderer)), defaults_(ConstructionDefaults()) {}

IVideoRenderer* TColorControl::Shader() const {
  IVideoRenderer* renderer = renderer_ ? renderer_() : nullptr;
  return renderer && renderer->Kind() == RendererKind::kDirect3D ? renderer : nullptr;
}

bool TColorControl::Live() const {
  TFilterGraph* graph = graph_ ? graph_() : nullptr;
  return graph && graph->Active();
}

void TColorControl::SetChecked(int& field, int value, ColorSetting setting) {
  if (auto error = ColorRangeError(setting, value)) throw ui::Exception(*error);
  field = value;
  if (Live()) ApplyColors();
}

void TColorControl::SetBrightness(int value) { SetChecked(brightness_, value, ColorSetting::Brightness); }
void TColorControl::SetContrast(int value) { SetChecked(contrast_, value, ColorSetting::Contrast); }
void TColorControl::SetHue(int value) { SetChecked(hue_, value, ColorSetting::Hue); }
void TColorControl::SetSaturation(int value) { SetChecked(saturation_, value, ColorSetting::Saturation); }
void TColorControl::SetSharpness(int value) { SetChecked(sharpness_, value, ColorSetting::Sharpness); }
void TColorControl::SetGamma(int value) { SetChecked(gamma_, value, ColorSetting::Gamma); }

void TColorControl::SetColorEnable(bool enable) {
  colorEnable_ = enable;
  if (Live()) ApplyColors();
}

int TColorControl::Brightness() {
  if (Live()) ReadColors();
  return brightness_;
}
int TColorControl::Contrast() {
  if (Live()) ReadColors();
  return contrast_;
}
int TColorControl::Hue() {
  if (Live()) ReadColors();
  return hue_;
}
int TColorControl::Saturation() {
  if (Live()) ReadColors();
  return saturation_;
}
int TColorControl::Sharpness() {
  if (Live()) ReadColors();
  return sharpness_;
}
int TColorControl::Gamma() {
  if (Live()) ReadColors();
  return gamma_;
}
bool TColorControl::ColorEnable() {
  if (Live()) ReadColors();
  return colorEnable_;
}

void TColorControl::ReadDefaults() {
  if (Shader()) {
    defaults_ = ConstructionDefaults();
    return;
  }
  auto config = OverlayPinConfig(graph_ ? graph_() : nullptr);
  if (!config) return;
  DDCOLORCONTROL record{};
  record.dwSize = sizeof record;
  if (SUCCEEDED(config->GetOverlaySurfaceColorControls(&record))) defaults_ = record;
}

void TColorControl::ApplyColors() {
  if (IVideoRenderer* shader = Shader()) {
    // Colour off leaves the picture grey, as the overlay did.
    int saturation = colorEnable_ ? saturation_ : 0;
    (void)shader->Adjust(AdjustmentFor(brightness_, contrast_, hue_, saturation, sharpness_, gamma_));
    return;
  }
  auto config = OverlayPinConfig(graph_ ? graph_() : nullptr);
  if (!config) return;
  DDCOLORCONTROL record{};
  record.dwSize = sizeof record;
  record.dwFlags = kAllColorControls;
  record.lBrightness = brightness_;
  record.lContrast = contrast_;
  record.lHue = hue_;
  record.lSaturation = saturation_;
  record.lSharpness = sharpness_;
  record.lGamma = gamma_;
  record.lColorEnable = colorEnable_ ? 1 : 0;
  (void)config->SetOverlaySurfaceColorControls(&record);
}

void TColorControl::ReadColors() {
  if (Shader()) return;  // the shader applies what was written; the stored values are those
  auto config = OverlayPinConfig(graph_ ? graph_() : nullptr);
  if (!config) return;
  DDCOLORCONTROL record{};
  record.dwSize = sizeof record;
  if (FAILED(config->GetOverlaySurfaceColorControls(&record))) record = ConstructionDefaults();
  brightness_ = record.lBrightness;
  contrast_ = record.lContrast;
  hue_ = record.lHue;
  saturation_ = record.lSaturation;
  sharpness_ = record.lSharpness;
  gamma_ = record.lGamma;
  colorEnable_ = record.lColorEnable != 0;
}

void TColorControl::RestoreDefault() {
  brightness_ = defaults_.lBrightness;
  contrast_ = defaults_.lContrast;
  hue_ = defaults_.lHue;
  saturation_ = defaults_.lSaturation;
  sharpness_ = defaults_.lSharpness;
  gamma_ = defaults_.lGamma;
  colorEnable_ = defaults_.lColorEnable != 0;
  if (Live()) ApplyColors();
}

}  // namespace lumorix::engine
