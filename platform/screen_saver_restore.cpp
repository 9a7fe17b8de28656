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

std::wstring StringValue(HKEY key, const char* name) {
  std::wstring text = ReadRegistryString(key, name);
  std::erase(text, L'\0');
  return text;
}

}  // namespace

void GiveBackUsersScreenSaver() {
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  RegistryKey settings = OpenUserSettings(kSettingsKey, kSettingsAccess);
  if (NamesOwnScreenSaver(StringValue(desktop.Get(), kSettingName))) {
    std::wstring old = StringValue(settings.Get(), "OldScreenSaver");
    if (!old.empty() && !NamesOwnScreenSaver(old))
      (void)desktop.Write(kSettingName, EncodeString(Narrow(old)));
    else
      (void)desktop.DeleteValue(kSettingName);
  }
  (void)settings.DeleteValue("OldScreenSaver");
}

}  // namespace lumorix::platform
