#pragma once
// The product's entry in the system's list of installed programs, which both
// the installer and the uninstaller read.
#include <windows.h>

#include <string>
#include <vector>

namespace lumorix::platform {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

// "InstallLocation" of the entry in the registry view of this build's
// programs, or in `view` (KEY_WOW64_32KEY); "" without one.
std::wstring InstalledFolder(REGSAM view = 0);

// The view of an installation of the 32-bit programs that an x64 build
// replaces; 0 in a 32-bit build, whose own view that is.
REGSAM EarlierInstallationView();
// Its folder; "" without one.
std::wstring EarlierInstallationFolder();

// Every registered installation folder: this build's, then the earlier one.
std::vector<std::wstring> RegisteredFolders();
// The players of those installations ("Lumorix.exe" in each folder).
std::vector<std::wstring> InstalledPlayers();

// The shortcuts an installation makes for every user of the machine (the
// Start menu's "Vantrel\Lumorix" folder and the desktop), wherever they are now.
std::vector<std::wstring> CommonShortcuts();

}  // namespace lumorix::platform
