#pragma once
// Whether the display can show a DirectDraw overlay at all. Windows 8 and
// later cannot (composition is always on), and neither can Wine: there the
// Overlay Mixer is not even tried and the picture goes the renderer's way.
#include <functional>

namespace lumorix::engine {

bool DisplayHasOverlays();

// Replaces the display's answer, for tests whose stand-in mixer plays the
// overlay hardware too; an empty function restores the real question.
void SetOverlayHardwareProbe(std::function<bool()> probe);

}  // namespace lumorix::engine
