#include "tests/support/registry_fixture.h"

#include <gtest/gtest.h>

#include "common/settings_layout.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/user_settings.h"

namespace lumorix::test {

void DeleteSettingsTree() {
  RegDeleteTreeW(kUserSettingsRoot, Widen(kSettingsKey).c_str());
  // Left there, the machine's tree would be copied in at the next start.
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(kSettingsKey).c_str());
}

void SeedInstallerDefaults(bool startUp) {
  DeleteSettingsTree();
  for (const SettingsDefault& value : InstallerDefaults(startUp)) WriteSetting(value.key, value.name, value.value);
}

void WriteSetting(const std::string& key, const std::string& name, const RawValue& value) {
  RegistryKey open = CreateUserSettings(key);
  ASSERT_TRUE(open.Write(name, value)) << name;
}

void DeleteSetting(const std::string& key, const std::string& name) {
  (void)OpenUserSettings(key, kSettingsAccess).DeleteValue(name);
}

std::optional<RawValue> ReadSetting(const std::string& key, const std::string& name, HKEY root) {
  return RegistryKey::Open(root, key, KEY_READ).Read(name);
}

int32_t ReadIntegerSetting(const std::string& key, const std::string& name) {
  return DecodeInteger(name, ReadSetting(key, name));
}

bool MakeMachineRegistryLink(const std::string& path, const std::string& target) {
  HKEY link = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Widen(path).c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                      KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr) != ERROR_SUCCESS)
    return false;
  RegistryKey owned(link);
  // The link names its target by the registry's own path, without a terminator.
  const std::wstring name = L"\\Registry\\Machine\\" + Widen(target);
  return RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(name.data()),
                        static_cast<DWORD>(name.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring path = L"Z:" + Widen(unixPath);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

}  // namespace lumorix::test
