#pragma once
// The shell's wallpaper layer: the window behind the desktop icons where a
// picture can stand in for the wallpaper.
#include <windows.h>

#include <optional>

namespace lumorix::engine {

struct WallpaperLayer {
  HWND parent = nullptr;
  // The sibling the host goes directly below (the icon view when it shares the
  // parent); null puts the host on top inside the parent.
  HWND below = nullptr;
};

// Asks the shell for its wallpaper worker and finds where to host. None when
// the shell has no Progman window (a replacement shell, Wine) or offers no layer.
std::optional<WallpaperLayer> FindWallpaperLayer();

}  // namespace lumorix::engine
