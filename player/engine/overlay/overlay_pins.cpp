#include "player/engine/overlay/overlay_pins.h"

#include "player/engine/filters/pin_walk.h"

namespace lumorix::engine {

ComPtr<IMixerPinConfig2> InputPinConfig(IBaseFilter* overlay) {
  ComPtr<IMixerPinConfig2> config;
  for (auto& pin : PinsOf(overlay)) {
    if (!IsInput(pin.Get())) continue;
    (void)pin.As(&config);
    break;
  }
  return config;
}

ComPtr<IBaseFilter> LastOverlayMixer(IFilterGraph* graph) {
  ComPtr<IBaseFilter> overlay;
  for (auto& filter : FiltersOf(graph))
    if (IsClass(filter.Get(), kOverlayMixerClass) || IsClass(filter.Get(), kOverlayMixer2Class)) overlay = filter;
  return overlay;
}

}  // namespace lumorix::engine
