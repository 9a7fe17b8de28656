#pragma once
// Whether the overlay path can show a picture at all. The overlay is seen
// only where the screen shows its colour key; while the desktop is composed
// (Windows Vista and 7 with a composed theme, always from Windows 8 on) the
// window manager draws every window itself and the key stays plain colour.
// So a driver that claims an overlay there is not believed.
#include <cstdint>

namespace lumorix {

struct DisplayFacts {
  bool directDrawOverlay = false;    // DirectDraw offers a visible overlay
  bool compositionReported = false;  // DwmIsCompositionEnabled said yes
  std::uint32_t major = 0;           // the running Windows' version
  std::uint32_t minor = 0;
};

bool OverlayPathUsable(const DisplayFacts& display);

}  // namespace lumorix
