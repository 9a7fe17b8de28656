#pragma once
// The user's desktop as the tests set it up and read it back: the
// "WallPaper" value and the desktop colour.
#include <windows.h>

#include <string>

namespace lumorix::test {

// "WallPaper" under HKEY_CURRENT_USER "Control Panel\Desktop"; empty when missing.
std::string RegistryWallpaper();
// Writes the wallpaper value and sets the desktop colour in this process;
// false when the value could not be written.
bool SetUserDesktop(const std::string& wallpaper, COLORREF colour);
// The desktop colour a new process (Explorer's desktop among them) starts
// with: Wine keeps the system colours per process and this one in a volatile
// key. CLR_INVALID when it cannot be read.
COLORREF DesktopColour();
// A desktop host of the player (the window desktop playback shows in) is on screen.
bool DesktopHostShown();

}  // namespace lumorix::test
