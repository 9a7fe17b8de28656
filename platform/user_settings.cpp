#include "platform/user_settings.h"

#include <string_view>
#include <vector>

#include "common/settings_layout.h"
#include "platform/text.h"

namespace lumorix {

namespace {

// Another user's state, not a setting: copied, it would hand that user's
// screen saver or desktop picture to this one.
bool BelongsToOneSession(std::string_view name) {
  return name == "OldScreenSaver" || name.starts_with("DesktopPlayback");
}

std::vector<std::string> ValueNames(const RegistryKey& key) {
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256 + 1] = {};  // the longest value name the registry takes is 16383; ours are short
    DWORD length = 256 + 1;
    LONG result = RegEnumValueW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // not one of ours
    if (result != ERROR_SUCCESS) break;
    names.push_back(Narrow(std::wstring(name, length)));
  }
  return names;
}

}  // namespace

RegistryKey CreateUserSettings(const std::string& path, REGSAM access) {
  return RegistryKey::Create(kUserSettingsRoot, path, access);
}

RegistryKey OpenUserSettings(const std::string& path, REGSAM access) {
  return RegistryKey::Open(kUserSettingsRoot, path, access);
}

bool CopyMachineSettingsOnce() {
  if (OpenUserSettings(kSettingsKey).Read("Replace Screen Saver")) return false;
  bool copied = false;
  for (const char* path : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey}) {
    RegistryKey machine = RegistryKey::Open(HKEY_LOCAL_MACHINE, path, KEY_READ);
    if (!machine) continue;
    RegistryKey user = CreateUserSettings(path);
    for (const std::string& name : ValueNames(machine)) {
      if (BelongsToOneSession(name) || user.Read(name)) continue;
      if (std::optional<RawValue> value = machine.Read(name)) copied = user.Write(name, *value) || copied;
    }
  }
  return copied;
}

}  // namespace lumorix
