#include "player/core/single_instance.h"

#include <windows.h>

#include "player/core/main_form.h"

namespace lumorix {

namespace {
// Per session: players of other users' sessions do not count.
constexpr wchar_t kPlayerMutex[] = L"Local\\Vantrel.Lumorix.Player";
}  // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, kPlayerMutex)) {
  held_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

bool ShowRunningPlayerSettings(std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (HWND player = FindWindowW(L"TLumorixMainForm", nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(player, &process);
      // The running player may bring its window to the front.
      AllowSetForegroundWindow(process);
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(player, WM_SCREENSAVERCOMMAND, 1, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    }
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(100);
  }
}

}  // namespace lumorix
