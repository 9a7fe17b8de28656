#include "uninstall/removal.h"

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <stdexcept>

#include "common/screen_saver_setting.h"
#include "common/settings_layout.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "player/desktop/desktop_look.h"

namespace lumorix::uninstall {

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr wchar_t kPlayerClass[] = L"TLumorixMainForm";
constexpr DWORD kAnswerTimeout = 10000;
constexpr DWORD kExitTimeout = 20000;

bool DeleteRegistryKey(HKEY root, const std::string& path) {
  return RegDeleteKeyExW(root, Widen(path).c_str(), KEY_WOW64_32KEY, 0) == ERROR_SUCCESS;
}

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

std::vector<std::wstring> ReadUninstallLog() {
  std::ifstream log("Uninstall.log", std::ios::binary);
  if (!log) {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    throw std::runtime_error("Cannot read Uninstall.log in " + Narrow(folder) + "; nothing was removed");
  }
  std::vector<std::wstring> files;
  std::string line;
  while (std::getline(log, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) files.push_back(AnsiToWide(line));
  }
  return files;
}

void RemoveFiles(const std::vector<std::wstring>& files) {
  for (const std::wstring& file : files) (void)DeleteFileW(file.c_str());
}

void RemoveRegistryEntries() {
  {
    RegistryKey settings = RegistryKey::Open(HKEY_LOCAL_MACHINE, kSettingsKey);
    if (settings) {
      for (const char* subkey : {"Audio", "Color", "PlayList", "Video"})
        (void)RegDeleteKeyExW(settings.Get(), Widen(subkey).c_str(), KEY_WOW64_32KEY, 0);
      for (const char* value : {"Language", "Replace Screen Saver", "Skin", "StartUp", kPauseWhenCovered,
                                kPauseOnBattery, kPauseWhenLocked, kShowOn})
        (void)settings.DeleteValue(value);
    }
  }
  // A player that died during desktop playback left the desktop in the
  // video's colours; it would have mended that at its next start.
  (void)desktop::RestoreInterruptedLook(HKEY_LOCAL_MACHINE);  // an older version's copy
  (void)desktop::RestoreInterruptedLook();
  (void)DeleteRegistryKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}

void RemovePlayerLeftovers() {
  std::wstring startUp = UserShellFolder("StartUp");
  if (!startUp.empty()) (void)DeleteFileW((startUp + L"\\Lumorix.lnk").c_str());

  // Wherever the player may have put its screen saver.
  const std::wstring name = std::wstring(L"\\") + kInstalledScreenSaverName;
  if (std::wstring system = platform::SystemFolder(); !system.empty()) (void)DeleteFileW((system + name).c_str());
  if (std::wstring windows = platform::SystemWindowsFolder(); !windows.empty())
    (void)DeleteFileW((windows + L"\\Sysnative" + name).c_str());
  if (std::wstring local = platform::LocalAppDataFolder(false); !local.empty()) {
    (void)DeleteFileW((local + L"\\Lumorix" + name).c_str());
    (void)RemoveDirectoryW((local + L"\\Lumorix").c_str());
  }

  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  std::wstring current = ReadRegistryString(desktop.Get(), "SCRNSAVE.EXE");
  std::erase(current, L'\0');
  if (!NamesOwnScreenSaver(current)) return;
  RegistryKey settings = RegistryKey::Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_READ);
  std::optional<RawValue> previous = settings.Read("OldScreenSaver");
  if (previous && (previous->type == kRegSz || previous->type == kRegExpandSz))
    (void)desktop.Write("SCRNSAVE.EXE", EncodeString(DecodeString("OldScreenSaver", previous)));
  else
    (void)desktop.DeleteValue("SCRNSAVE.EXE");  // no screen saver rather than a missing one
}

}  // namespace lumorix::uninstall
