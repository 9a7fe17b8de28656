#pragma once
// The end of an uninstallation: a copy of the uninstaller, run from a folder
// of its own that only its scope can write (the administrators' in the
// Windows folder's "Temp" for everyone, the user's own temporary folder for
// the user alone), waits until the uninstaller's processes have ended, then
// deletes the uninstaller, its log, the installation folder and the
// uninstall entry.
#include <windows.h>

#include <string>
#include <vector>

#include "common/setup_rules.h"

namespace lumorix::uninstall {

inline constexpr wchar_t kRemoveFolderSwitch[] = L"/RemoveFolder";
inline constexpr wchar_t kRemoveUserFolderSwitch[] = L"/RemoveUserFolder";

// Starts the copy, which waits for this process and for `askingProcess`
// (the user's uninstaller that asked for this one; 0 for none). False when
// it cannot be started, or when other files keep the folder alive.
bool StartFolderRemoval(const std::wstring& folder, DWORD askingProcess, InstallScope scope);

// The copy's work: only on the folder the scope's entry names (a copy for
// the user alone reads nothing of the machine's, and one for everyone
// nothing of the user's hive); 0 when the folder is gone.
int RemoveFolderAfter(const std::vector<HANDLE>& originals, const std::wstring& folder, InstallScope scope);

}  // namespace lumorix::uninstall
