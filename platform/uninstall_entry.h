#pragma once
// The product's entry in the system's list of installed programs, which both
// the installer and the uninstaller read.
#include <string>

namespace lumorix::platform {

inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";

// "InstallLocation" of the entry; "" without one.
std::wstring InstalledFolder();

}  // namespace lumorix::platform
