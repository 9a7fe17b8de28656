// The screen saver the system starts: it only finds the running player and
// passes the command on; the player does the showing.
#include <windows.h>

#include "common/screen_saver_command.h"
#include "platform/dll_search.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  lumorix::platform::LoadDllsFromSystemFolderOnly();
  constexpr UINT kScreenSaverCommandMessage = WM_USER + 100;
  HWND player = FindWindowW(L"TLumorixMainForm", nullptr);
  if (!player) {
    MessageBoxW(nullptr, L"Please, run Lumorix", L"Lumorix Screen Saver", MB_OK | MB_ICONERROR);
    return 0;
  }
  // The system gave the foreground to the screen saver it started; the player takes it over.
  DWORD playerProcess = 0;
  GetWindowThreadProcessId(player, &playerProcess);
  AllowSetForegroundWindow(playerProcess);
  lumorix::ScreenSaverRequest request = lumorix::ScreenSaverRequestFor(GetCommandLineW());
  (void)SendMessageW(player, kScreenSaverCommandMessage, static_cast<WPARAM>(request.command),
                     static_cast<LPARAM>(request.parameter));
  return 0;
}
