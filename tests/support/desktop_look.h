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

}  // namespace lumorix::test
