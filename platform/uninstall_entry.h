#pragma once
// The product's entry in the system's list of installed programs, which both
// the installer and the uninstaller read: under HKEY_LOCAL_MACHINE for an
// installation for everyone, under the user's own HKEY_CURRENT_USER for an
// installation for that user alone.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/setup_rules.h"

namespace lumorix::platform {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

// Where the entry of an installation for `scope` is.
HKEY EntryRoot(InstallScope scope);

// "InstallLocation" of the machine's entry in the registry view of this
// build's programs, or in `view` (KEY_WOW64_32KEY); "" without one.
std::wstring InstalledFolder(REGSAM view = 0);
// "InstallLocation" of the current user's own installation; "" without one.
std::wstring UserInstalledFolder();
std::wstring InstalledFolder(InstallScope scope);

// The view of an installation of the 32-bit programs that an x64 build
// replaces; 0 in a 32-bit build, whose own view that is.
REGSAM EarlierInstallationView();
// Its folder; "" without one.
std::wstring EarlierInstallationFolder();

// Every registered installation folder an installation for `scope` may
// replace: for everyone, this build's and the earlier 32-bit one; for the
// user, the user's own. An installation for everyone never takes a folder
// from the user's hive, which any program of that user can write.
std::vector<std::wstring> RegisteredFolders(InstallScope scope);
// The players of those installations ("Lumorix.exe" in each folder).
std::vector<std::wstring> InstalledPlayers(InstallScope scope);

// The shortcuts an installation makes (the Start menu's "Vantrel\Lumorix"
// folder and the desktop): every user's for an installation for everyone,
// the user's own otherwise, wherever those folders are now.
std::vector<std::wstring> ProductShortcuts(InstallScope scope);
std::vector<std::wstring> CommonShortcuts();

// Which installation `folder` (ending with "\") is: the scope whose entry
// names it; nothing when none does.
std::optional<InstallScope> ScopeOfInstallation(const std::wstring& folder);

}  // namespace lumorix::platform
