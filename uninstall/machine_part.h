#pragma once
// The part of the removal that needs an administrator: run by the user's
// uninstaller as a second, elevated process of the same program, which
// trusts nothing the first one says beyond whom to wait for.
#include <windows.h>

#include <string>

namespace lumorix::uninstall {

inline constexpr wchar_t kMachineSwitch[] = L"/Machine";

// The elevated process's exit codes.
enum MachineExit : DWORD { kMachineRemoved = 0, kMachineSomethingStayed = 1, kMachineNothingRemoved = 2 };

// The elevated process's work: the logged files of its own folder (which
// must be the registered installation's), the machine's settings, the shared
// screen-saver copy, and the copy that removes the folder once this process
// and `askingProcess` have ended. Says why in a box when nothing may be removed.
MachineExit RunMachineRemoval(DWORD askingProcess);

// What the user's uninstaller learns of the removal of the installation
// itself: the machine's part, or the user's own installation's.
struct PartResult {
  MachineExit exit = kMachineNothingRemoved;
  std::wstring why;  // for kMachineNothingRemoved: what to tell (empty: it told itself)
};
// Starts this program elevated with the machine's part (the system asks for
// an administrator's consent) and waits for it, answering sent messages.
PartResult RunMachinePartElevated();

// An installation for the user alone, removed in this process as that user
// (no administrator is asked): the logged files of its own folder, which its
// entry in the user's hive must name, the user's shortcuts, and the copy that
// removes the folder and the entry once this process has ended.
PartResult RemoveUsersInstallation();

}  // namespace lumorix::uninstall
