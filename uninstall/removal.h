#pragma once
// What the uninstaller removes: a running player first, then the logged
// files, the registry entries and what the player itself left behind.
#include <string>
#include <vector>

namespace lumorix::uninstall {

// Asks a running player to end as at log-off (it saves and gives the
// desktop back) and waits until its process is gone. True when no player
// runs any more.
bool EndRunningPlayer();

// The files named in "Uninstall.log" of the current folder, one a line.
// Raises when the log cannot be read.
std::vector<std::wstring> ReadUninstallLog();

// Deletes the logged files; files that cannot be deleted are skipped.
void RemoveFiles(const std::vector<std::wstring>& files);

// Deletes the settings subkeys, the values of the settings key the product
// knows (the desktop-playback recovery values among them, after the desktop
// look they kept is given back) and the uninstall entry.
void RemoveRegistryEntries();

// The start-up shortcut and a screen-saver copy the player made, with the
// user's screen saver given back when the setting still names the copy.
void RemovePlayerLeftovers();

}  // namespace lumorix::uninstall
