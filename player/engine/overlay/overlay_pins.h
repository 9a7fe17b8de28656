#pragma once
// Where the Overlay Mixer is in a graph and how its colour and aspect
// controls are reached: through its first input pin.
#include <windows.h>
#include "platform/dshow.h"

#include "platform/com.h"
#include "player/engine/overlay/mixer_pin_config.h"

namespace lumorix::engine {

// The graph's last Overlay Mixer (either of its class identifiers).
ComPtr<IBaseFilter> LastOverlayMixer(IFilterGraph* graph);
// The mixer's first input pin as its configuration interface; none without one.
ComPtr<IMixerPinConfig2> InputPinConfig(IBaseFilter* overlay);

}  // namespace lumorix::engine
