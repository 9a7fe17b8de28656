#include "common/overlay_path.h"

namespace lumorix {

bool OverlayPathUsable(const DisplayFacts& display) {
  // From Windows 8 (6.2) on composition cannot be turned off, whatever a
  // compatibility layer or an emulation reports.
  const bool alwaysComposed = display.major > 6 || (display.major == 6 && display.minor >= 2);
  return display.directDrawOverlay && !display.compositionReported && !alwaysComposed;
}

}  // namespace lumorix
