// The player's entry: the settings window, the about window and the message loop.
#include <windows.h>

#include "player/about/about_form.h"
#include "player/core/main_form.h"
#include "player/core/program_icon.h"
#include "player/core/single_instance.h"
#include "platform/desktop_look.h"
#include "player/engine/graph/graph_watchdog.h"
#include "platform/dll_search.h"
#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace lumorix;
  platform::LoadDllsFromSystemFolderOnly();
  SingleInstance instance;
  if (!instance.Held()) {
    (void)ShowRunningPlayerSettings(std::chrono::seconds(10));
    return 0;
  }
  ui::Application& application = ui::Application::Instance();
  application.Initialize();
  // A run that died during desktop playback left the desktop in the video's colours.
  (void)platform::RestoreInterruptedLook();
  application.SetTitle(L"Lumorix - settings");
  application.SetIcon(ProgramIcon());

  {
    TLumorixMainForm mainForm;
    mainForm.Initialize();
    TlumorixAboutForm aboutForm(mainForm);
    mainForm.AboutForm = &aboutForm;
    application.Run();
  }  // the forms have saved the settings and the playlist and put the desktop back
  engine::EndProcessKeepingStuckGraphs(0);
  return 0;
}
