// The uninstaller's entry. Its exit code tells "Uninstall.bat" whether the
// product was removed (0) or the window was closed without removing (1).
#include <windows.h>

#include "ui/application.h"
#include "uninstall/uninstall_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace lumorix;
  ui::Application& application = ui::Application::Instance();
  application.Initialize();
  application.SetTitle(L"Uninstall Lumorix");
  uninstall::TUninstallForm form;
  application.Run();
  return form.Removed() ? 0 : 1;
}
