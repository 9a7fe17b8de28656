#pragma once
// The user's desktop as desktop playback through the overlay finds it: the
// wallpaper named in the registry and the desktop colour. That playback
// clears the wallpaper and paints the desktop in the overlay's key colour;
// the saved look also goes to the user's settings key, so that a run that
// dies during playback can be undone at the next start. Playback without an
// overlay leaves the user's desktop look alone and keeps nothing.
#include <windows.h>

#include <optional>
#include <string>

namespace lumorix::platform {

struct DesktopLook {
  std::optional<std::wstring> wallpaper;  // none: no "WallPaper" value to write back
  COLORREF colour = 0;
};

DesktopLook ReadDesktopLook();
// Removes the wallpaper and sets the desktop colour.
void ApplyPlaybackLook(COLORREF colour);
void RestoreDesktopLook(const DesktopLook& look);

// The copy kept in the settings key while desktop playback is on.
void KeepInterruptedLook(const DesktopLook& look);
void ForgetInterruptedLook();
// Restores what an interrupted run left behind; true when there was something.
// Older versions kept their copy in the machine's settings key (HKEY_LOCAL_MACHINE):
// only the uninstaller, which may delete it there, undoes that one too.
bool RestoreInterruptedLook(HKEY root = HKEY_CURRENT_USER);

}  // namespace lumorix::platform
