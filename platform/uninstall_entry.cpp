#include "platform/uninstall_entry.h"

#include "platform/registry.h"
#include "platform/shell_link.h"

namespace lumorix::platform {

std::wstring InstalledFolder() {
  RegistryKey entry = RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ);
  return ReadRegistryString(entry.Get(), "InstallLocation");
}

}  // namespace lumorix::platform
