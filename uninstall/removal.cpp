#include "uninstall/removal.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/install_folder.h"
#include "common/screen_saver_setting.h"
#include "common/settings_layout.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/screen_saver_restore.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "platform/uninstall_entry.h"
#include "platform/user_settings.h"
#include "platform/desktop_look.h"

namespace lumorix::uninstall {

namespace {

using platform::kUninstallKey;
constexpr char kMakerKey[] = "Software\\Vantrel";

// The values of the settings key the product writes; any other stays.
constexpr const char* kProductValues[] = {"Language",       "Replace Screen Saver", "Skin",
                                          "StartUp",        kPauseWhenCovered,      kPauseOnBattery,
                                          kPauseWhenLocked, kPauseWhenRemote,       kShowOn};

bool DeleteRegistryKey(HKEY root, const std::string& path) {
  return RegDeleteKeyExW(root, Widen(path).c_str(), KEY_WOW64_32KEY, 0) == ERROR_SUCCESS;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The settings subkeys and the product's values; the key itself only when
// nothing else is left in it.
void RemoveSettingsTree(HKEY root, std::initializer_list<const char*> extraValues) {
  {
    RegistryKey settings = RegistryKey::Open(root, kSettingsKey);
    if (!settings) return;
    for (const char* subkey : {"Audio", "Color", "PlayList", "Video"})
      (void)RegDeleteKeyExW(settings.Get(), Widen(subkey).c_str(), KEY_WOW64_32KEY, 0);
    for (const char* value : kProductValues) (void)settings.DeleteValue(value);
    for (const char* value : extraValues) (void)settings.DeleteValue(value);
  }
  if (root == HKEY_LOCAL_MACHINE) return;  // the machine's key stays, with what others put there
  for (const char* path : {kSettingsKey, kMakerKey}) {
    DWORD subkeys = 1, values = 1;
    RegistryKey key = RegistryKey::Open(root, path, KEY_READ);
    if (!key || RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return;
    key.Close();
    if (subkeys != 0 || values != 0 || !DeleteRegistryKey(root, path)) return;
  }
}

bool OnlyUninstallerLeft(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool only = true;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && !SamePath(name, L"Uninstall.exe") && !SamePath(name, L"Uninstall.log"))
      only = false;
  } while (only && FindNextFileW(search, &found));
  FindClose(search);
  return only;
}

// The shortcuts the installer makes, wherever this or an earlier version put them.
std::vector<std::wstring> OwnShortcuts() {
  std::vector<std::wstring> links;
  for (const std::wstring& programs : {platform::CommonProgramsFolder(), UserShellFolder("Programs")})
    if (!programs.empty())
      for (const wchar_t* name : {L"\\Vantrel\\Lumorix\\Lumorix.lnk", L"\\Vantrel\\Lumorix\\Uninstall.lnk"})
        links.push_back(programs + name);
  for (const std::wstring& desktop : {platform::CommonDesktopFolder(), UserShellFolder("Desktop")})
    if (!desktop.empty()) links.push_back(desktop + L"\\Lumorix.lnk");
  return links;
}

}  // namespace

std::vector<std::wstring> ReadUninstallLog(const std::wstring& folder) {
  std::ifstream log(std::filesystem::path(folder + L"Uninstall.log"), std::ios::binary);
  if (!log) throw std::runtime_error("Cannot read Uninstall.log in " + Narrow(folder) + "; nothing was removed");
  std::vector<std::wstring> files;
  std::string line;
  while (std::getline(log, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) files.push_back(AnsiToWide(line));
  }
  return files;
}

bool RemoveFiles(const std::vector<std::wstring>& files, const std::wstring& folder) {
  const std::vector<std::wstring> shortcuts = OwnShortcuts();
  bool allGone = true;
  std::vector<std::wstring> folders;
  for (const std::wstring& line : files) {
    std::optional<std::wstring> path = RemovablePath(line, folder, shortcuts);
    if (!path) continue;  // not ours to delete
    // The uninstaller and its log go last, once this program has ended.
    if (SamePath(*path, folder + L"Uninstall.exe") || SamePath(*path, folder + L"Uninstall.log")) continue;
    (void)DeleteFileW(path->c_str());
    allGone = !Exists(*path) && allGone;
    if (!SamePath(std::wstring_view(*path).substr(0, folder.size()), folder)) continue;  // a shortcut
    for (size_t at = path->rfind(L'\\'); at + 1 > folder.size(); at = path->rfind(L'\\', at - 1))
      folders.push_back(path->substr(0, at));
  }
  // An earlier version's batch files.
  for (const wchar_t* name : {L"Uninstall.bat", L"UD.bat"}) (void)DeleteFileW((folder + name).c_str());
  // Emptied folders, the deepest first; one that holds files of the user's stays.
  std::sort(folders.begin(), folders.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  for (const std::wstring& emptied : folders) (void)RemoveDirectoryW(emptied.c_str());
  for (const std::wstring& programs : {platform::CommonProgramsFolder(), UserShellFolder("Programs")}) {
    if (programs.empty()) continue;
    (void)RemoveDirectoryW((programs + L"\\Vantrel\\Lumorix").c_str());
    (void)RemoveDirectoryW((programs + L"\\Vantrel").c_str());
  }
  return allGone;
}

void RemoveRegistryEntries() {
  RemoveSettingsTree(HKEY_LOCAL_MACHINE, {});
  // A player that died during desktop playback left the desktop in the
  // video's colours; it would have mended that at its next start.
  (void)platform::RestoreInterruptedLook(HKEY_LOCAL_MACHINE);  // an older version's copy
  (void)platform::RestoreInterruptedLook();
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

  platform::GiveBackUsersScreenSaver();
  // This user's own settings; other users' hives are theirs.
  RemoveSettingsTree(kUserSettingsRoot, {"OldScreenSaver"});
}

bool StartFolderRemoval(const std::wstring& folder) {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return false;
  const std::wstring copy = std::wstring(temp) + L"LumorixUninstall-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(GetTickCount()) + L".exe";
  if (!CopyFileW((folder + L"Uninstall.exe").c_str(), copy.c_str(), TRUE)) return false;
  // The copy waits on this process through an inherited handle, which,
  // unlike a process id, cannot come to name another process.
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0))
    return false;
  UniqueHandle ownSelf(self);
  // A backslash before the closing quote would escape it: the folder's final
  // one is doubled.
  std::wstring quotedFolder = L"\"" + folder + (folder.ends_with(L'\\') ? L"\\\"" : L"\"");
  std::wstring command = L"\"" + copy + L"\" " + std::wstring(kRemoveFolderSwitch) + L" " +
                         std::to_wstring(reinterpret_cast<uintptr_t>(self)) + L" " + quotedFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, temp, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  // Files of the user's (or a folder they keep) hold the folder: not all is gone.
  return OnlyUninstallerLeft(folder);
}

int RemoveFolderAfter(HANDLE original, const std::wstring& folder) {
  (void)WaitForSingleObject(original, INFINITE);
  CloseHandle(original);
  // Only a full folder path: "" or a relative one would name the current folder or a drive's root.
  if (folder.size() < 3 || folder[1] != L':' || folder[2] != L'\\') return 1;
  const std::wstring own = folder.ends_with(L'\\') ? folder : folder + L'\\';
  // The ended program's file may stay mapped for a moment after its end.
  for (int attempt = 0; attempt < 25 && Exists(own); ++attempt, Sleep(200)) {
    for (const wchar_t* name : {L"Uninstall.exe", L"Uninstall.log"}) (void)DeleteFileW((own + name).c_str());
    (void)RemoveDirectoryW(own.c_str());
  }
  // This copy in the temporary folder cannot delete its own running file.
  wchar_t self[MAX_PATH] = {};
  if (GetModuleFileNameW(nullptr, self, MAX_PATH)) (void)MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return Exists(own) ? 1 : 0;
}

}  // namespace lumorix::uninstall
