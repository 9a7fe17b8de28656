#pragma once
// The way the legacy renderer's window shrinks and enlarges the picture.
// Windows' Video Renderer sets COLORONCOLOR on the DC it keeps for its
// window; Wine's (8.0) draws every frame on a fresh window DC in the default
// BLACKONWHITE mode, in which its DIB engine ANDs together every source row
// that falls on one screen row: a darkened picture, and most of the player's
// time at 1080p on a smaller screen.
#include <windows.h>

namespace lumorix::engine {

// Gives `window` (the renderer's own) a DC of its own, which keeps its
// attributes between GetDC calls, in COLORONCOLOR mode. Only under Wine:
// Windows' renderer sets the mode itself. False when it could not be set.
bool KeepColorOnColorStretch(HWND window);

}  // namespace lumorix::engine
