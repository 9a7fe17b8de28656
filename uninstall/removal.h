#pragma once
// What the uninstaller removes. For an installation for everyone the
// machine's part (the logged files of its own folder, the machine's settings,
// the shared screen-saver copy) runs elevated; the user's part (their
// settings, start-up shortcut, screen saver, playlist) runs as the user who
// asked, in their own profile, never in the administrator's. An installation
// for one user is removed as that user alone, and never touches the machine's.
#include <string>
#include <vector>

#include "common/setup_rules.h"

namespace lumorix::uninstall {

// The lines of "Uninstall.log" in `folder`, never the current folder's.
// Raises when the log cannot be read.
std::vector<std::wstring> ReadUninstallLog(const std::wstring& folder);
// Raises unless `folder` is the installed Lumorix's for `scope` (the entry
// of that scope names it): a copy of this program beside a stranger's log
// must not delete what it lists.
void RequireInstalledFolder(const std::wstring& folder, InstallScope scope);

// Deletes the logged files that lie inside `folder` (never through a link)
// and the scope's shortcuts (every user's, or the user's own), nothing else,
// then the folders they emptied. The uninstaller and its log are left for
// the folder's removal. True when every file it may delete is gone.
bool RemoveFiles(const std::vector<std::wstring>& files, const std::wstring& folder, InstallScope scope);

// Deletes the settings subkeys and the product's values under
// HKEY_LOCAL_MACHINE (the key itself stays); each key by name only once a
// link in its place is gone. Nothing read there is applied.
void RemoveMachineRegistryEntries();

// Deletes the screen saver's copy in the system folder unless some signed-in
// user's setting still names it.
void RemoveSharedScreenSaver();

// The user's own: the start-up shortcut and shortcuts of older versions, the
// screen-saver copy in their profile, the desktop look a dead player left,
// the playlist and the settings under HKEY_CURRENT_USER. While the user
// keeps the other installation (the machine's, or their own beside the
// machine's), whose player shares them, only a start-up shortcut to the
// removed player of `folder` goes, and the desktop look is mended.
void RemoveUsersOwn(const std::wstring& folder, InstallScope scope);

}  // namespace lumorix::uninstall
