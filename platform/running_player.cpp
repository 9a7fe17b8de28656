#include "platform/running_player.h"

#include <windows.h>

#include "platform/handle.h"

namespace lumorix::platform {

namespace {

constexpr wchar_t kPlayerClass[] = L"TLumorixMainForm";
constexpr DWORD kAnswerTimeout = 10000;
constexpr DWORD kExitTimeout = 20000;

// Waits for the process while answering messages: the ending player
// broadcasts its desktop changes to every window, this one's included.
bool WaitForProcessEnd(HANDLE process, DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (true) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;
    MSG message;
    // Only sent messages are answered; input waits until the removal is over.
    (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

bool EndRunningPlayer() {
  // One player per session; a second look catches one that was starting.
  for (int attempt = 0; attempt < 3; ++attempt) {
    HWND player = FindWindowW(kPlayerClass, nullptr);
    if (!player) return true;
    DWORD processId = 0;
    GetWindowThreadProcessId(player, &processId);
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    DWORD_PTR answer = 0;
    // The way the system closes a program for an update: the player saves,
    // gives the desktop back and ends without asking anything.
    (void)SendMessageTimeoutW(player, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerTimeout,
                              &answer);
    if (IsWindow(player))
      (void)SendMessageTimeoutW(player, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerTimeout,
                                &answer);
    if (process && !WaitForProcessEnd(process.Get(), kExitTimeout)) return false;
    if (!process) Sleep(500);
  }
  return FindWindowW(kPlayerClass, nullptr) == nullptr;
}

}  // namespace lumorix::platform
