#include "tests/support/desktop_look.h"

#include <cstdio>

#include "platform/registry.h"
#include "tests/support/registry_fixture.h"

namespace lumorix::test {

std::string RegistryWallpaper() {
  return DecodeString("WallPaper", ReadSetting("Control Panel\\Desktop", "WallPaper", HKEY_CURRENT_USER));
}

bool SetUserDesktop(const std::string& wallpaper, COLORREF colour) {
  bool written =
      RegistryKey::Create(HKEY_CURRENT_USER, "Control Panel\\Desktop").Write("WallPaper", EncodeString(wallpaper));
  INT element = COLOR_BACKGROUND;
  SetSysColors(1, &element, &colour);
  return written;
}

COLORREF DesktopColour() {
  auto value = ReadSetting("Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors", "Background",
                           HKEY_CURRENT_USER);
  if (!value) return CLR_INVALID;
  std::string text = DecodeString("Background", value);
  int red = -1, green = -1, blue = -1;
  if (std::sscanf(text.c_str(), "%d %d %d", &red, &green, &blue) != 3) return CLR_INVALID;
  return RGB(red, green, blue);
}

bool DesktopHostShown() {
  for (HWND host = FindWindowW(L"LumorixHostForm", nullptr); host;
       host = FindWindowExW(nullptr, host, L"LumorixHostForm", nullptr))
    if (IsWindowVisible(host)) return true;
  return false;
}

}  // namespace lumorix::test
