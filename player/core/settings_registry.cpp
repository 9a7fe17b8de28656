#include "player/core/settings_registry.h"

namespace lumorix {

void SettingsRegistry::OpenKey(const std::string& path) { key_ = RegistryKey::Create(HKEY_LOCAL_MACHINE, path); }

void SettingsRegistry::OpenSubKey(const std::string& name) {
  key_ = key_ ? RegistryKey::Create(key_.Get(), name) : RegistryKey();
}

void SettingsRegistry::Put(const std::string& name, const RawValue& value) {
  if (!Write(name, value)) throw SettingsError(FailedToSetData(name));
}

}  // namespace lumorix
