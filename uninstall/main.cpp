// The uninstaller's entry. Exit code 0 when the product is gone, 1 when the
// window was closed without removing or something stayed. Started by itself
// from the temporary folder with /RemoveFolder, it removes the installation
// folder once the uninstaller that started it has ended.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "platform/dll_search.h"
#include "ui/application.h"
#include "uninstall/removal.h"
#include "uninstall/uninstall_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace lumorix;
  platform::LoadDllsFromSystemFolderOnly();
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments && count == 4 && std::wcscmp(arguments[1], uninstall::kRemoveFolderSwitch) == 0) {
    auto original = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::wcstoull(arguments[2], nullptr, 10)));
    std::wstring folder = arguments[3];
    LocalFree(arguments);
    return uninstall::RemoveFolderAfter(original, folder);
  }
  if (arguments) LocalFree(arguments);

  ui::Application& application = ui::Application::Instance();
  application.Initialize();
  application.SetTitle(L"Uninstall Lumorix");
  uninstall::TUninstallForm form;
  application.Run();
  return form.Removed() ? 0 : 1;
}
