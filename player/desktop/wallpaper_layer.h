#pragma once
// The shell's wallpaper layer: the window behind the desktop icons where a
// picture can stand in for the wallpaper, in either of Explorer's layouts
// (common/shell_layout.h). Explorer is never waited on for long: a hung or
// busy one only means asking again later.
#include <windows.h>

#include <optional>

#include "common/shell_layout.h"

namespace lumorix::desktop {

struct WallpaperLayer {
  ShellLayout layout = ShellLayout::kNone;
  // Where the host goes: the worker (classic) or Progman (composed).
  HWND parent = nullptr;
  // Composed only: the icon view the host goes under (none with the icons
  // gone) and the wallpaper's worker it goes over (none when Progman made none).
  HWND iconView = nullptr;
  HWND worker = nullptr;
};

struct LayerSearch {
  std::optional<WallpaperLayer> layer;
  // Explorer did not answer in time: nothing was read; ask again later.
  bool shellBusy = false;
};

// The longest a call waits for Explorer's answer.
inline constexpr UINT kShellAnswerMs = 100;

// Asks Progman for its wallpaper worker (0x052C) and reads where to host.
// No layer when the shell has no Progman (a replacement shell, Wine) or
// offers none yet (Explorer still starting): callers ask again.
LayerSearch FindWallpaperLayer();
// Reads the layer as it stands, without sending Explorer anything.
std::optional<WallpaperLayer> ReadWallpaperLayer();
// The layer a host was put into, as it stands now: the same worker while it
// lives (classic), or Progman's children read again (composed); none when it
// is gone or Explorer builds its desktop another way now.
std::optional<WallpaperLayer> LayerNow(const WallpaperLayer& placed);

// Whether a shell shows icons on the desktop in a view of its own (Explorer's
// SHELLDLL_DefView, also while "Show desktop icons" is off). A picture that
// is not inside the layer would cover those icons, or be hidden under them.
bool ShellHasIconView();

// How `host` sits in `layer` now.
HostFacts FactsOf(HWND host, const WallpaperLayer& layer);
// The window a host goes directly below inside the layer.
HWND InsertAfterIn(const WallpaperLayer& layer);

}  // namespace lumorix::desktop
