// The uninstaller's entry. Exit code 0 when the product is gone, 1 when the
// window was closed without removing or something stayed. For an
// installation for everyone, started by itself elevated with /Machine, it
// removes what needs an administrator; started by that one from an
// administrators' folder with /RemoveFolder, it removes the installation
// folder once the uninstaller's processes have ended. An installation for
// one user (its entry in the user's hive names this folder) is removed by
// the user's own process, and its folder by a copy with /RemoveUserFolder.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

#include "platform/dll_search.h"
#include "platform/files.h"
#include "platform/uninstall_entry.h"
#include "ui/application.h"
#include "uninstall/folder_removal.h"
#include "uninstall/machine_part.h"
#include "uninstall/uninstall_form.h"

namespace {

HANDLE HandleArgument(const wchar_t* text) {
  return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::wcstoull(text, nullptr, 10)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace lumorix;
  platform::LoadDllsFromSystemFolderOnly();
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> words(arguments, arguments + (arguments ? count : 0));
  if (arguments) LocalFree(arguments);
  if (words.size() == 5 &&
      (words[1] == uninstall::kRemoveFolderSwitch || words[1] == uninstall::kRemoveUserFolderSwitch)) {
    std::vector<HANDLE> originals;
    for (const std::wstring& word : {words[2], words[3]})
      if (HANDLE original = HandleArgument(word.c_str())) originals.push_back(original);
    return uninstall::RemoveFolderAfter(
        originals, words[4],
        words[1] == uninstall::kRemoveUserFolderSwitch ? InstallScope::CurrentUser : InstallScope::AllUsers);
  }
  if (words.size() == 3 && words[1] == uninstall::kMachineSwitch)
    return static_cast<int>(
        uninstall::RunMachineRemoval(static_cast<DWORD>(std::wcstoul(words[2].c_str(), nullptr, 10))));

  ui::Application& application = ui::Application::Instance();
  application.Initialize();
  application.SetTitle(L"Uninstall Lumorix");
  // The user's own installation when the user's entry names this folder;
  // otherwise the machine's, which the steps judge for themselves.
  const InstallScope scope = platform::ScopeOfInstallation(ProgramFolder()).value_or(InstallScope::AllUsers);
  uninstall::TUninstallForm form(uninstall::RealRemoval(scope));
  application.Run();
  return form.Removed() ? 0 : 1;
}
