#pragma once
// The end of an uninstallation: a copy of the uninstaller, run from a folder
// only the administrators can write, waits until the uninstaller's processes
// have ended, then deletes the uninstaller, its log, the installation folder
// and the uninstall entry.
#include <windows.h>

#include <string>
#include <vector>

namespace lumorix::uninstall {

inline constexpr wchar_t kRemoveFolderSwitch[] = L"/RemoveFolder";

// Starts the copy, which waits for this process and for `askingProcess`
// (the user's uninstaller that asked for this one; 0 for none). False when
// it cannot be started, or when other files keep the folder alive.
bool StartFolderRemoval(const std::wstring& folder, DWORD askingProcess);

// The copy's work: only on the registered installation folder; 0 when the folder is gone.
int RemoveFolderAfter(const std::vector<HANDLE>& originals, const std::wstring& folder);

}  // namespace lumorix::uninstall
