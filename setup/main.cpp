// The installer's entry: the window, or with /S a silent installation.
#include <windows.h>

#include "common/setup_rules.h"
#include "platform/dll_search.h"
#include "setup/installation.h"
#include "setup/setup_form.h"
#include "setup/target_folder.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  using namespace lumorix;
  using namespace lumorix::setup;
  platform::LoadDllsFromSystemFolderOnly();
  ui::Application& application = ui::Application::Instance();
  application.Initialize();
  application.SetTitle(L"Lumorix Setup");

  SetupCommandLine command = ParseSetupCommandLine(arguments ? arguments : L"");
  if (!command.valid) {
    if (!command.silent)
      MessageBoxW(nullptr, L"Usage: LumorixSetup [/S] [/D=folder]", L"Lumorix Setup", MB_OK | MB_ICONERROR);
    return 2;
  }
  if (command.silent) {
    NoView view;
    TInstallState state;
    state.InstallFolder = command.folder.value_or(DefaultFolder());
    state.view = &view;
    InstallOutcome outcome = RunInstallation(state, instance);
    return outcome.complete ? 0 : outcome.folderRefused ? 2 : 1;
  }

  TSetupForm form([instance](TInstallState& state) { return RunInstallation(state, instance); });
  if (command.folder) form.InstallFolder.SetText(*command.folder);
  application.Run();
  return form.Finished && form.Outcome == kThanks ? 0 : 1;
}
