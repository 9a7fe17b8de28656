#include "player/engine/color_control.h"

#include "common/format.h"
#include "player/engine/filter_graph.h"
#include "player/engine/mixer_pin_config.h"
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
  if (!filterGraph) return nullptr;
  ComPtr<IEnumFilters> filters;
  if (FAILED(filterGraph->EnumFilters(&filters))) return nullptr;
  ComPtr<IBaseFilter> overlay, filter;
  while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    CLSID classId{};
    if (SUCCEEDED(filter->GetClassID(&classId)) && (classId == kOverlayMixerClass || classId == kOverlayMixer2Class))
      overlay = filter;
  }
  if (!overlay) return nullptr;
  ComPtr<IEnumPins> pins;
  if (FAILED(overlay->EnumPins(&pins))) return nullptr;
  ComPtr<IPin> pin;
  ULONG fetched = 0;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), &fetched) == S_OK && fetched == 1) {
    PIN_DIRECTION direction;
    if (FAILED(pin->QueryDirection(&direction))) return nullptr;
    if (direction == PINDIR_INPUT) {
      ComPtr<IMixerPinConfig2> config;
      (void)pin.As(&config);
      return config;
    }
  }
  return nullptr;
}

}  // namespace

TColorControl::TColorControl(std::function<TFilterGraph*()> graph)
    : graph_(std::move(graph)), defaults_(ConstructionDefaults()) {}

bool TColorControl::Live() const {
  TFilterGraph* graph = graph_ ? graph_() : nullptr;
  return graph && graph->Active();
}

void TColorControl::SetChecked(int& field, int value, int min, int max, const char* message) {
  if (value < min || value > max) throw ui::Exception(Format(message, value));
  field = value;
  if (Live()) ApplyColors();
}

void TColorControl::SetBrightness(int value) {
  SetChecked(brightness_, value, 0, 10000, "Value %d out of range. Value must bee between 0 -> 10.000");
}
void TColorControl::SetContrast(int value) {
  SetChecked(contrast_, value, 0, 20000, "Value %d out of range. Value must bee between 0 -> 20.000");
}
void TColorControl::SetHue(int value) {
  SetChecked(hue_, value, -180, 180, "Value %d out of range. Value must bee between -180 -> 180");
}
void TColorControl::SetSaturation(int value) {
  SetChecked(saturation_, value, 0, 20000, "Value %d out of range. Value must bee between 0 -> 20.000");
}
void TColorControl::SetSharpness(int value) {
  SetChecked(sharpness_, value, 0, 10, "Value %d out of range. Value must bee between 0 -> 10");
}
void TColorControl::SetGamma(int value) {
  SetChecked(gamma_, value, 1, 500, "Value %d out of range. Value must bee between 1 -> 500");
}

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
  auto config = OverlayPinConfig(graph_ ? graph_() : nullptr);
  if (!config) return;
  DDCOLORCONTROL record{};
  record.dwSize = sizeof record;
  if (SUCCEEDED(config->GetOverlaySurfaceColorControls(&record))) defaults_ = record;
}

void TColorControl::ApplyColors() {
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
