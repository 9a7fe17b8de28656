// The installer's entry: the window, or with /S a silent installation; for
// everyone (the default, /AllUsers) or for the user alone (/CurrentUser).
// Started by itself with the administrator's rights (/Machine), it is the
// administrator's part of an installation for everyone. Exit codes:
// SetupExitCode.
#include <windows.h>

#include "common/setup_rules.h"
#include "platform/dll_search.h"
#include "platform/files.h"
#include "setup/elevated_part.h"
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
      MessageBoxW(nullptr, L"Usage: LumorixSetup [/S] [/AllUsers | /CurrentUser] [/D=folder]", L"Lumorix Setup",
                  MB_OK | MB_ICONERROR);
    return kSetupRefused;
  }
  if (command.elevatedPart) {
    // Everything it is told is judged again here: the folder as any typed
    // one, the window only ever sent reports.
    ReportingView view(reinterpret_cast<HWND>(static_cast<uintptr_t>(command.elevatedPart->window)));
    TInstallState state;
    state.InstallFolder = *command.folder;
    state.options = command.elevatedPart->options;
    state.view = &view;
    InstallOutcome outcome = RunInstallation(state, instance);
    view.ReportOutcome(outcome.message);
    return ExitCodeOf(outcome.result);
  }
  const std::wstring program = ProgramFileName();
  if (command.silent) {
    NoView view;
    TInstallState state;
    state.scope = command.scope;
    state.InstallFolder = command.folder.value_or(DefaultFolder(command.scope));
    state.view = &view;
    return ExitCodeOf(InstallInScope(state, instance, SystemElevation(), program, nullptr).result);
  }

  TSetupForm* shown = nullptr;
  TSetupForm form([&shown, instance, &program](TInstallState& state) {
    return InstallInScope(state, instance, SystemElevation(), program, shown ? shown->Handle() : nullptr);
  });
  shown = &form;
  form.SetScope(command.scope);
  if (command.folder) form.InstallFolder.SetText(*command.folder);
  application.Run();
  return form.Finished ? ExitCodeOf(form.Result) : kSetupCancelled;
}
