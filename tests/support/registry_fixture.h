#pragma once
// The user's settings tree as a test needs it: seeded like a fresh
// installation, then tweaked value by value.
#include <windows.h>

#include <optional>
#include <string>

#include "common/settings_value.h"

namespace lumorix::test {

// Removes the whole settings tree (the machine's too) and writes the
// installer's defaults into the user's.
void SeedInstallerDefaults(bool startUp = false);
void DeleteSettingsTree();
void WriteSetting(const std::string& key, const std::string& name, const RawValue& value);
void DeleteSetting(const std::string& key, const std::string& name);
std::optional<RawValue> ReadSetting(const std::string& key, const std::string& name, HKEY root = HKEY_CURRENT_USER);
int32_t ReadIntegerSetting(const std::string& key, const std::string& name);

// Makes `path` under HKEY_LOCAL_MACHINE a registry link to the key
// `target` (a path under HKEY_LOCAL_MACHINE too); true when it did.
bool MakeMachineRegistryLink(const std::string& path, const std::string& target);

// A Unix path of the build as Wine's Z: drive sees it.
std::wstring WindowsPath(const std::string& unixPath);

}  // namespace lumorix::test
