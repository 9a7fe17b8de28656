#pragma once
// The shell's wallpaper layer: the window behind the desktop icons where a
// picture can stand in for the wallpaper.
#include <windows.h>

#include <optional>

namespace lumorix::desktop {

struct WallpaperLayer {
  HWND parent = nullptr;
  // The sibling the host goes directly below (the icon view when it shares the
  // parent); null puts the host on top inside the parent.
  HWND below = nullptr;
};

// Asks the shell for its wallpaper worker and finds where to host. None when
// the shell has no Progman window (a replacement shell, Wine) or offers no
// layer yet (Explorer still starting, or busy): callers ask again.
std::optional<WallpaperLayer> FindWallpaperLayer();

// Whether a shell shows icons on the desktop in a view of its own (Explorer's
// SHELLDLL_DefView, also while "Show desktop icons" is off). A picture that
// is not inside the layer would cover those icons, or be hidden under them.
bool ShellHasIconView();

}  // namespace lumorix::desktop
