#pragma once
// The player's settings of the user who runs it, under HKEY_CURRENT_USER in
// the layout the installer seeds under HKEY_LOCAL_MACHINE. Only that user
// (and the administrators) can write it, so what the player reads back, and
// writes into the user's own system settings, comes from nobody else.
#include <windows.h>

#include <string>

#include "platform/registry.h"

namespace lumorix {

inline const HKEY kUserSettingsRoot = HKEY_CURRENT_USER;
// Reading and writing values and making subkeys; nothing more.
inline constexpr REGSAM kSettingsAccess = KEY_READ | KEY_WRITE;

// A key of the user's tree given from the root ("Software\Vantrel\Lumorix..."),
// made when missing. An empty key on failure.
RegistryKey CreateUserSettings(const std::string& path, REGSAM access = kSettingsAccess);
// An existing key of the user's tree only.
RegistryKey OpenUserSettings(const std::string& path, REGSAM access = KEY_READ);

// A user without settings of their own (no "Replace Screen Saver" in the
// settings key) gets a copy of the machine's: the installer's defaults, or an
// earlier installation's settings. Values the user has are kept, and the
// values that belonged to one user's session ("OldScreenSaver", the saved
// desktop look) are not copied. True when it copied.
bool CopyMachineSettingsOnce();

}  // namespace lumorix
