#include "platform/screen_saver_restore.h"

#include "common/screen_saver_setting.h"
#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "platform/user_settings.h"

namespace lumorix::platform {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kSettingName[] = "SCRNSAVE.EXE";

}  // namespace

void GiveBackUsersScreenSaver() {
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  RegistryKey settings = OpenUserSettings(kSettingsKey, kSettingsAccess);
  if (NamesOwnScreenSaver(ReadRegistryString(desktop.Get(), kSettingName))) {
    std::wstring old = ReadRegistryString(settings.Get(), "OldScreenSaver");
    if (!old.empty() && !NamesOwnScreenSaver(old))
      (void)desktop.Write(kSettingName, EncodeString(Narrow(old)));
    else
      (void)desktop.DeleteValue(kSettingName);
  }
  (void)settings.DeleteValue("OldScreenSaver");
}

}  // namespace lumorix::platform
