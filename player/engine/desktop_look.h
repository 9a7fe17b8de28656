#pragma once
// The user's desktop as desktop playback finds it: the wallpaper named in
// the registry and the desktop colour. Playback clears the wallpaper and
// paints the desktop in the video's key colour; the saved look also goes to
// the settings key, so that a run that dies during playback can be undone
// at the next start.
#include <windows.h>

#include <optional>
#include <string>

namespace lumorix::engine {

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
bool RestoreInterruptedLook();

}  // namespace lumorix::engine
