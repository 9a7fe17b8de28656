#include "player/core/screen_saver_files.h"

#include <windows.h>
#include <shlobj.h>

#include "common/install_folder.h"
#include "common/screen_saver_setting.h"
#include "common/setup_rules.h"
#include "common/settings_layout.h"
#include "platform/files.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/screen_saver_restore.h"
#include "platform/text.h"
#include "platform/shell_link.h"
#include "platform/uninstall_entry.h"
#include "platform/user_settings.h"

namespace lumorix {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kSettingName[] = "SCRNSAVE.EXE";
// Far larger than the screen-saver program.
constexpr size_t kMaxScreenSaver = 16u << 20;

CopyNewFile& CopyOverride() {
  static CopyNewFile copy;
  return copy;
}

bool CopyNew(const std::wstring& from, const std::wstring& to) {
  if (CopyOverride()) return CopyOverride()(from, to);
  return CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// A process without a manifest level, run by a standard user, has its writes
// to the system folder diverted to a store of its own that nobody else reads.
bool WritesAreVirtualized() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  UniqueHandle owned(token);
  DWORD enabled = 0, size = 0;
  if (!GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled, &size)) return false;
  return enabled != 0;
}

std::wstring ShortPath(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return length > 0 && length < MAX_PATH ? shortPath : L"";
}

std::wstring CurrentSetting(const RegistryKey& desktop) { return ReadRegistryString(desktop.Get(), kSettingName); }

// An installation for one user lies in a folder that user can change: the
// system folder's copy, which every user's setting may name, is never made
// from it, even where this process could write there (an administrator
// without UAC). Its player keeps the copy in the user's own folder.
bool FromUsersOwnInstallation(const std::wstring& source) {
  const std::wstring folder = source.substr(0, source.find_last_of(L'\\') + 1);
  if (std::wstring own = platform::UserInstalledFolder(); !own.empty() && SamePath(own, folder)) return true;
  std::wstring programs = platform::UserProgramFilesFolder();
  if (programs.empty()) return false;
  programs = CompleteFolder(programs);
  return folder.size() > programs.size() && SamePath(std::wstring_view(folder).substr(0, programs.size()), programs);
}

}  // namespace

void UseScreenSaverCopy(CopyNewFile copy) { CopyOverride() = std::move(copy); }

std::vector<ScreenSaverPlace> ScreenSaverPlaces() {
  std::vector<ScreenSaverPlace> places;
  const std::wstring name = std::wstring(L"\\") + kInstalledScreenSaverName;
  std::wstring system = platform::SystemFolder();
  if (!system.empty() && !WritesAreVirtualized()) {
    if (!IsWow64()) {
      places.push_back({system + name, system + name, true});
    } else {
      // A 32-bit process sees SysWOW64 under the system folder's name; the
      // 64-bit system folder, the one the system starts screen savers from,
      // is reached through this alias.
      std::wstring native = platform::SystemWindowsFolder() + L"\\Sysnative";
      if (IsFolder(native)) places.push_back({native + name, system + name, true});
    }
  }
  std::wstring local = platform::LocalAppDataFolder(true);
  if (!local.empty()) places.push_back({local + L"\\Lumorix" + name, local + L"\\Lumorix" + name});
  return places;
}

std::wstring ReplaceScreenSaver(const std::wstring& source) {
  // Without the program's own screen saver nothing is copied, and no copy
  // found in place is named: it could be anybody's program.
  std::optional<std::string> program = ReadWholeFile(source, kMaxScreenSaver);
  if (!program) return L"";
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  std::wstring current = CurrentSetting(desktop);
  RegistryKey settings = CreateUserSettings(kSettingsKey);
  // After a run that ended without giving the screen saver back, the setting
  // still names ours; the user's is the one recorded then.
  if (!NamesOwnScreenSaver(current)) (void)settings.Write("OldScreenSaver", EncodeString(Narrow(current)));

  const bool usersOwn = FromUsersOwnInstallation(source);
  for (const ScreenSaverPlace& place : ScreenSaverPlaces()) {
    if (place.shared && usersOwn) continue;
    if (!place.shared) {
      std::wstring folder = place.copyPath.substr(0, place.copyPath.find_last_of(L'\\'));
      (void)CreateDirectoryW(folder.c_str(), nullptr);
    }
    // A copy already there is the program's own only when it has its bytes;
    // any other (an older version's, or a stranger's) is replaced or passed over.
    if (FileExists(place.copyPath) && ReadWholeFile(place.copyPath, kMaxScreenSaver) != program)
      (void)DeleteFileW(place.copyPath.c_str());
    if (!CopyNew(source, place.copyPath) && !FileExists(place.copyPath)) continue;
    if (ReadWholeFile(place.copyPath, kMaxScreenSaver) != program) continue;
    std::wstring setting =
        ScreenSaverSettingPath(place.systemPath, place.copyPath == place.systemPath ? ShortPath(place.copyPath) : L"");
    if (!desktop.Write(kSettingName, EncodeString(Narrow(setting)))) return L"";
    return setting;
  }
  return L"";
}

void RestoreScreenSaver() {
  platform::GiveBackUsersScreenSaver();
  for (const ScreenSaverPlace& place : ScreenSaverPlaces()) {
    // The system folder's copy is every user's: it stays while another
    // signed-in user's setting names it.
    std::wstring folder = place.systemPath.substr(0, place.systemPath.find_last_of(L'\\'));
    if (place.shared && platform::SomeUserNamesScreenSaverIn(folder)) continue;
    (void)DeleteFileW(place.copyPath.c_str());
  }
}

}  // namespace lumorix
