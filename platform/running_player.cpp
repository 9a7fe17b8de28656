#include "platform/running_player.h"

#include <windows.h>

#include "common/install_folder.h"
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

struct InstalledWindow {
  HWND window = nullptr;
  UniqueHandle process;
};

struct Search {
  const std::vector<std::wstring>* programs;
  InstalledWindow found;
};

// The process's program file, from the process itself: a window's class
// and caption are anybody's to choose.
bool RunsOneOf(HANDLE process, const std::vector<std::wstring>& programs) {
  wchar_t image[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  if (!QueryFullProcessImageNameW(process, 0, image, &length)) return false;
  for (const std::wstring& program : programs)
    if (SamePath(std::wstring_view(image, length), program)) return true;
  return false;
}

BOOL CALLBACK MatchInstalled(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  wchar_t className[64] = {};
  if (!GetClassNameW(window, className, 64) || std::wstring_view(className) != kPlayerClass) return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
  if (!process || !RunsOneOf(process.Get(), *search.programs)) return TRUE;
  search.found = {window, std::move(process)};
  return FALSE;
}

InstalledWindow FindInstalledPlayer(const std::vector<std::wstring>& programs) {
  Search search{&programs, {}};
  EnumWindows(MatchInstalled, reinterpret_cast<LPARAM>(&search));
  return std::move(search.found);
}

}  // namespace

bool EndRunningPlayer(const std::vector<std::wstring>& programs) {
  if (programs.empty()) return true;
  // One player per session; a second look catches one that was starting.
  for (int attempt = 0; attempt < 3; ++attempt) {
    InstalledWindow player = FindInstalledPlayer(programs);
    if (!player.window) return true;
    DWORD_PTR answer = 0;
    // The way the system closes a program for an update: the player saves,
    // gives the desktop back and ends without asking anything.
    (void)SendMessageTimeoutW(player.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                              kAnswerTimeout, &answer);
    if (IsWindow(player.window))
      (void)SendMessageTimeoutW(player.window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                                kAnswerTimeout, &answer);
    if (!WaitForProcessEnd(player.process.Get(), kExitTimeout)) return false;
  }
  return FindInstalledPlayer(programs).window == nullptr;
}

}  // namespace lumorix::platform
