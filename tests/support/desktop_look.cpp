#include "tests/support/desktop_look.h"

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

}  // namespace lumorix::test
