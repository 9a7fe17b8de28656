#pragma once
// What the uninstaller removes: the logged files of its own folder, the
// registry entries, what the player left for the current user, and at the
// end its own folder.
#include <windows.h>

#include <string>
#include <vector>

namespace lumorix::uninstall {

// The lines of "Uninstall.log" in `folder`, never the current folder's.
// Raises when the log cannot be read.
std::vector<std::wstring> ReadUninstallLog(const std::wstring& folder);

// Deletes the logged files that lie inside `folder` and the product's own
// shortcuts, nothing else, then the folders they emptied. The uninstaller
// and its log are left for `StartFolderRemoval`. True when every file it
// may delete is gone.
bool RemoveFiles(const std::vector<std::wstring>& files, const std::wstring& folder);

// Deletes the settings subkeys and the product's values under
// HKEY_LOCAL_MACHINE (the key itself stays) and the uninstall entry.
void RemoveRegistryEntries();

// For the current user: the start-up shortcut, a screen-saver copy (with the
// user's screen saver given back while the setting names it) and the
// settings under HKEY_CURRENT_USER. Other users' stay in their profiles.
void RemovePlayerLeftovers();

// Starts a copy of this program in the temporary folder that waits until
// this process has ended, then deletes the uninstaller, its log and the
// folder. False when it cannot be started, or when other files keep the
// folder alive.
inline constexpr wchar_t kRemoveFolderSwitch[] = L"/RemoveFolder";
bool StartFolderRemoval(const std::wstring& folder);
// The copy's work; 0 when the folder is gone.
int RemoveFolderAfter(HANDLE original, const std::wstring& folder);

}  // namespace lumorix::uninstall
