#pragma once
// The installation folder as the installer takes it: normalised, judged,
// made, and protected like the program-files folder.
#include <string>

namespace lumorix::setup {

struct FolderCheck {
  std::wstring folder;    // the full path, ending with "\"
  std::wstring refusal;   // not empty: the folder is refused, and why
  std::wstring question;  // not empty: it holds other files; the window asks, a silent run refuses
};

// Quotes taken off, the path made full (GetFullPathNameW) and judged: no
// relative, network or drive-root folder, no other program's uninstaller.
FolderCheck CheckInstallFolder(const std::wstring& typed);

// Makes the folder with its parents. Outside the program-files folder it
// gets that folder's protection (administrators and SYSTEM full control,
// users read and run, nothing inherited from the parent), so that no
// standard user can replace the programs, the uninstaller or its log.
// False, with the reason in `why`, when that fails.
bool PrepareInstallFolder(const std::wstring& folder, std::wstring& why);

}  // namespace lumorix::setup
