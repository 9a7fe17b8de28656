#include "player/core/settings_registry.h"

#include "platform/user_settings.h"

namespace lumorix {

void SettingsRegistry::OpenKey(const std::string& path) { key_ = CreateUserSettings(path); }

void SettingsRegistry::OpenSubKey(const std::string& name) {
  key_ = key_ ? RegistryKey::Create(key_.Get(), name, kSettingsAccess) : RegistryKey();
}

void SettingsRegistry::Put(const std::string& name, const RawValue& value) {
  if (!Write(name, value)) throw SettingsError(FailedToSetData(name));
}

}  // namespace lumorix
