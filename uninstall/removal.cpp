#include "uninstall/removal.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "common/install_folder.h"
#include "common/screen_saver_setting.h"
#include "common/settings_layout.h"
#include "common/setup_rules.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/screen_saver_restore.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "platform/unfollowed_files.h"
#include "platform/uninstall_entry.h"
#include "platform/user_files.h"
#include "platform/user_settings.h"
#include "platform/desktop_look.h"
#include "platform/files.h"

namespace lumorix::uninstall {

namespace {

constexpr char kMakerKey[] = "Software\\Vantrel";
constexpr size_t kMaxLog = 1u << 20;

// The values of the settings key the product writes; any other stays. The
// desktop look an older player kept there goes unapplied: anyone could have
// written it while the key was open to every user.
constexpr const char* kProductValues[] = {"Language",
                                          "Replace Screen Saver",
                                          "Skin",
                                          "StartUp",
                                          kPauseWhenCovered,
                                          kPauseOnBattery,
                                          kPauseWhenLocked,
                                          kPauseWhenRemote,
                                          kShowOn,
                                          "DesktopPlaybackColor",
                                          "DesktopPlaybackHasWallPaper",
                                          "DesktopPlaybackWallPaper"};

// The settings subkeys and the product's values; the key itself only when
// nothing else is left in it.
void RemoveSettingsTree(HKEY root, std::initializer_list<const char*> extraValues) {
  if (RemoveRegistryLink(root, kSettingsKey)) return;
  for (const char* subkey : {kAudioKey, kColorKey, kPlayListKey, kVideoKey}) (void)DeleteKeyTree(root, subkey);
  {
    RegistryKey settings = RegistryKey::Open(root, kSettingsKey);
    if (!settings) return;
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
    if (subkeys != 0 || values != 0 || !DeleteKeyTree(root, path)) return;
  }
}

void RemoveProductShortcuts(const std::wstring& programs, const std::wstring& desktop) {
  if (!programs.empty()) {
    for (const wchar_t* name : {L"\\Vantrel\\Lumorix\\Lumorix.lnk", L"\\Vantrel\\Lumorix\\Uninstall.lnk"})
      (void)platform::DeleteUnfollowed(programs + name);
    for (const wchar_t* folder : {L"\\Vantrel\\Lumorix", L"\\Vantrel"})
      (void)platform::RemoveFolderUnfollowed(programs + folder);
  }
  if (!desktop.empty()) (void)platform::DeleteUnfollowed(desktop + L"\\Lumorix.lnk");
}

}  // namespace

std::vector<std::wstring> ReadUninstallLog(const std::wstring& folder) {
  std::optional<std::string> log = platform::ReadPlainFile(folder + L"Uninstall.log", kMaxLog);
  if (!log) throw std::runtime_error("Cannot read Uninstall.log in " + Narrow(folder) + "; nothing was removed");
  std::vector<std::wstring> files;
  for (const std::string& line : LogLines(*log)) files.push_back(AnsiToWide(line));
  return files;
}

void RequireInstalledFolder(const std::wstring& folder, InstallScope scope) {
  std::wstring installed = platform::InstalledFolder(scope);
  if (installed.empty() || folder.empty() || !SamePath(installed, folder))
    throw std::runtime_error("This uninstaller is not the one of the installed Lumorix (" +
                             Narrow(installed.empty() ? L"none is installed" : installed) + "); nothing was removed");
}

bool RemoveFiles(const std::vector<std::wstring>& files, const std::wstring& folder, InstallScope scope) {
  const std::vector<std::wstring> shortcuts = platform::ProductShortcuts(scope);
  bool allGone = true;
  std::vector<std::wstring> folders;
  for (const std::wstring& line : files) {
    std::optional<std::wstring> path = RemovablePath(line, folder, shortcuts);
    if (!path) continue;  // not ours to delete
    // The uninstaller and its log go last, once this program has ended.
    if (SamePath(*path, folder + L"Uninstall.exe") || SamePath(*path, folder + L"Uninstall.log")) continue;
    allGone = platform::DeleteUnfollowed(*path) && allGone;
    if (!SamePath(std::wstring_view(*path).substr(0, std::min(path->size(), folder.size())), folder))
      continue;  // a shortcut
    for (size_t at = path->rfind(L'\\'); at != std::wstring::npos && at >= folder.size();
         at = path->rfind(L'\\', at - 1))
      folders.push_back(path->substr(0, at));
  }
  // An earlier version's batch files.
  for (const wchar_t* name : {L"Uninstall.bat", L"UD.bat"}) (void)platform::DeleteUnfollowed(folder + name);
  // Emptied folders, the deepest first; one that holds files of the user's stays.
  std::sort(folders.begin(), folders.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  for (const std::wstring& emptied : folders) (void)platform::RemoveFolderUnfollowed(emptied);
  RemoveProductShortcuts(
      scope == InstallScope::CurrentUser ? platform::UserProgramsFolder() : platform::CommonProgramsFolder(), L"");
  return allGone;
}

void RemoveMachineRegistryEntries() { RemoveSettingsTree(HKEY_LOCAL_MACHINE, {}); }

void RemoveSharedScreenSaver() {
  std::wstring system = platform::SystemFolder();
  if (system.empty() || platform::SomeUserNamesScreenSaverIn(system)) return;
  const std::wstring name = std::wstring(L"\\") + kInstalledScreenSaverName;
  (void)platform::DeleteUnfollowed(system + name);
#ifndef _WIN64
  // A 32-bit uninstaller's system folder is SysWOW64; the player put its
  // copy into the 64-bit one, which this alias reaches.
  if (std::wstring windows = platform::SystemWindowsFolder(); !windows.empty())
    (void)platform::DeleteUnfollowed(windows + L"\\Sysnative" + name);
#endif
}

void RemoveUsersOwn(const std::wstring& folder, InstallScope scope) {
  const std::wstring other = platform::InstalledFolder(scope == InstallScope::CurrentUser ? InstallScope::AllUsers
                                                                                          : InstallScope::CurrentUser);
  const bool otherStays = !other.empty() && !SamePath(other, folder) && FileExists(other + L"Lumorix.exe");
  std::wstring startUp = UserShellFolder("StartUp");
  if (!startUp.empty()) {
    const std::wstring link = startUp + L"\\Lumorix.lnk";
    if (!otherStays || SamePath(ShortcutTarget(link), folder + L"Lumorix.exe")) (void)DeleteFileW(link.c_str());
  }
  if (otherStays) {
    // A player that died during desktop playback left the desktop in the video's colours.
    (void)platform::RestoreInterruptedLook();
    return;
  }
  // Older versions put their shortcuts into the installing user's own folders.
  RemoveProductShortcuts(UserShellFolder("Programs"), UserShellFolder("Desktop"));

  if (std::wstring local = platform::LocalAppDataFolder(false); !local.empty()) {
    (void)DeleteFileW((local + L"\\Lumorix\\" + kInstalledScreenSaverName).c_str());
    (void)RemoveDirectoryW((local + L"\\Lumorix").c_str());
  }
  platform::GiveBackUsersScreenSaver();
  // A player that died during desktop playback left the desktop in the
  // video's colours; it would have mended that at its next start.
  (void)platform::RestoreInterruptedLook();

  if (std::wstring own = platform::UserDataFolder(); !own.empty()) {
    (void)DeleteFileW((own + L"Lumorix.Lumorixpl").c_str());
    // Each monitor's own list, beside it.
    for (const std::wstring& name : ListDirectory(own + L"Lumorix.*.Lumorixpl"))
      (void)DeleteFileW((own + name).c_str());
    (void)RemoveDirectoryW(own.c_str());
    (void)RemoveDirectoryW(own.substr(0, own.size() - std::wstring(L"Lumorix\\").size()).c_str());
  }
  // This user's own settings; other users' hives are theirs.
  RemoveSettingsTree(kUserSettingsRoot, {"OldScreenSaver"});
}

}  // namespace lumorix::uninstall
