// The Windows side of scripts/bench-idle: covers the desktop with a maximised
// window for a while, presses the running player's Pause, or ends it.
// Usage: idle_bench cover SECONDS | pause | quit
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND FindPlayer() {
  HWND player = nullptr;
  for (int attempt = 0; attempt < 100 && !player; ++attempt, Sleep(100))
    player = FindWindowW(L"TLumorixMainForm", nullptr);
  return player;
}

int Cover(DWORD seconds) {
  HWND window = CreateWindowExW(0, L"STATIC", L"Lumorix idle bench cover", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_MAXIMIZE);
  const DWORD end = GetTickCount() + seconds * 1000;
  for (DWORD now = GetTickCount(); static_cast<LONG>(end - now) > 0; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DestroyWindow(window);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"cover" && argc == 3) return Cover(static_cast<DWORD>(_wtoi(argv[2])));
  if (command == L"pause" || command == L"quit") {
    HWND player = FindPlayer();
    if (!player) return 1;
    if (command == L"quit") {
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(player, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer) ? 0 : 1;
    }
    // The tool bar numbers its buttons from 100; the third runs the player's Pause.
    HWND toolBar = FindWindowExW(player, nullptr, L"ToolbarWindow32", nullptr);
    if (!toolBar) return 1;
    SendMessageW(player, WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), reinterpret_cast<LPARAM>(toolBar));
    return 0;
  }
  std::fprintf(stderr, "usage: idle_bench cover SECONDS | pause | quit\n");
  return 2;
}
