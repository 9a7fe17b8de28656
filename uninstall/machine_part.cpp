#include "uninstall/machine_part.h"

#include <shellapi.h>

#include <exception>

#include "platform/files.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "uninstall/folder_removal.h"
#include "uninstall/removal.h"

namespace lumorix::uninstall {

namespace {

// Waits while answering sent messages: the system's consent and any
// broadcast reach this process's window meanwhile.
void WaitAnswering(HANDLE process) {
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

MachineExit RunMachineRemoval(DWORD askingProcess) {
  const std::wstring folder = ProgramFolder();
  std::vector<std::wstring> files;
  try {
    RequireInstalledFolder(folder, InstallScope::AllUsers);
    files = ReadUninstallLog(folder);
  } catch (const std::exception& failure) {
    std::wstring text = Widen(failure.what()) + L".";
    MessageBoxW(nullptr, text.c_str(), L"Uninstall Lumorix", MB_OK | MB_ICONERROR);
    return kMachineNothingRemoved;
  }
  bool gone = RemoveFiles(files, folder, InstallScope::AllUsers);
  RemoveMachineRegistryEntries();
  RemoveSharedScreenSaver();
  gone = StartFolderRemoval(folder, askingProcess, InstallScope::AllUsers) && gone;
  return gone ? kMachineRemoved : kMachineSomethingStayed;
}

PartResult RemoveUsersInstallation() {
  const std::wstring folder = ProgramFolder();
  std::vector<std::wstring> files;
  try {
    RequireInstalledFolder(folder, InstallScope::CurrentUser);
    files = ReadUninstallLog(folder);
  } catch (const std::exception& failure) {
    return {kMachineNothingRemoved, Widen(failure.what())};
  }
  bool gone = RemoveFiles(files, folder, InstallScope::CurrentUser);
  gone = StartFolderRemoval(folder, 0, InstallScope::CurrentUser) && gone;
  return {gone ? kMachineRemoved : kMachineSomethingStayed, L""};
}

PartResult RunMachinePartElevated() {
  const std::wstring program = ProgramFileName();
  const std::wstring arguments = std::wstring(kMachineSwitch) + L" " + std::to_wstring(GetCurrentProcessId());
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = arguments.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&execute) || !execute.hProcess) {
    if (GetLastError() == ERROR_CANCELLED)
      return {kMachineNothingRemoved, L"removing Lumorix needs an administrator's permission, which was not given"};
    return {kMachineNothingRemoved, L"its removal could not be started"};
  }
  UniqueHandle process(execute.hProcess);
  WaitAnswering(process.Get());
  DWORD code = kMachineNothingRemoved;
  (void)GetExitCodeProcess(process.Get(), &code);
  if (code == kMachineRemoved || code == kMachineSomethingStayed) return {static_cast<MachineExit>(code), L""};
  return {kMachineNothingRemoved, L""};
}

}  // namespace lumorix::uninstall
