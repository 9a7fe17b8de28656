#include "platform/screen_saver_restore.h"

#include <windows.h>

#include <algorithm>
#include <vector>

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

std::vector<std::wstring> LoadedUsers() {
  std::vector<std::wstring> users;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};
    DWORD length = 256;
    if (RegEnumKeyExW(HKEY_USERS, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::wstring user(name, length);
    // A user's file associations hang beside their settings under a name of their own.
    if (!user.ends_with(L"_Classes")) users.push_back(user);
  }
  return users;
}

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

bool SomeUserNamesScreenSaverIn(const std::wstring& folder) {
  for (const std::wstring& user : LoadedUsers()) {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(HKEY_USERS, (user + L"\\" + Widen(kDesktopKey)).c_str(), 0, KEY_QUERY_VALUE, &opened);
    if (result == ERROR_FILE_NOT_FOUND) continue;
    if (result != ERROR_SUCCESS) return true;
    RegistryKey desktop(opened);
    std::optional<RawValue> value = desktop.Read(kSettingName);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) continue;
    std::string text(value->data.begin(), value->data.end());
    text.resize(std::min(text.find('\0'), text.size()));
    if (NamesOwnScreenSaverIn(Widen(text), folder)) return true;
  }
  return false;
}

}  // namespace lumorix::platform
