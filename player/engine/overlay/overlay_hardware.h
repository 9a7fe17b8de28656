#pragma once
// Whether the overlay path can show a picture: the display must offer a
// DirectDraw overlay and the desktop must not be composed (always on from
// Windows 8, and so everywhere the player runs today; Wine has no overlay
// either). Elsewhere the Overlay Mixer is not even tried and the picture goes
// the renderer's way.
#include <functional>

namespace lumorix::engine {

bool DisplayHasOverlays();

// Replace DirectDraw's answer (whether the hardware has an overlay) and the
// window manager's (whether the desktop is composed), for tests whose
// stand-in mixer plays the overlay hardware of an uncomposed desktop; an
// empty function restores the real question.
void SetOverlayHardwareProbe(std::function<bool()> probe);
void SetDesktopCompositionProbe(std::function<bool()> probe);

}  // namespace lumorix::engine
