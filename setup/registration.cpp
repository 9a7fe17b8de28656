#include "setup/registration.h"

#include <windows.h>

#include "common/settings_layout.h"
#include "common/setup_rules.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "platform/user_settings.h"

#ifndef LUMORIX_VERSION
#define LUMORIX_VERSION "1.1"
#endif

namespace lumorix::setup {

namespace {

RawValue WideString(const std::wstring& text) { return EncodeString(Narrow(text)); }

}  // namespace

namespace {

// The machine's defaults every user's player starts from.
bool WriteMachineDefaults(const InstallOptions& options) {
  bool written = true;
  for (const char* key : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey}) {
    // A key an earlier installation let every user change may have been
    // turned into a link to somewhere else; it goes before anything is
    // written through it.
    (void)RemoveRegistryLink(HKEY_LOCAL_MACHINE, key);
    RegistryKey created = RegistryKey::Create(HKEY_LOCAL_MACHINE, key, KEY_SET_VALUE);
    // Only the administrators change the defaults every user's player starts
    // from, and own the keys, so that nobody can give the rights back.
    written = created && OnlyAdministratorsChange(HKEY_LOCAL_MACHINE, key) && written;
  }
  for (const SettingsDefault& value : InstallerDefaults(options.startUpWithWindows))
    written = RegistryKey::Open(HKEY_LOCAL_MACHINE, value.key, KEY_SET_VALUE).Write(value.name, value.value) && written;
  // What the open rights of an earlier installation let any user plant here,
  // and every user's player would take over: paths to a skin, a language and
  // a desktop picture, and one user's screen saver. The installer writes none of them.
  RegistryKey settings = RegistryKey::Open(HKEY_LOCAL_MACHINE, kSettingsKey, KEY_SET_VALUE);
  for (const char* planted : {"Skin", "Language", "OldScreenSaver", "DesktopPlaybackWallPaper",
                              "DesktopPlaybackHasWallPaper", "DesktopPlaybackColor"})
    (void)settings.DeleteValue(planted);
  return written;
}

// The user's own settings, where the player reads them, without a machine
// tree in between: only the values the user has none of yet, so that a
// repeated installation (an update) keeps what the user set, as an
// installation for everyone does for each user who has settings.
bool WriteUsersDefaults(const InstallOptions& options) {
  bool written = true;
  for (const char* key : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey})
    (void)RemoveRegistryLink(kUserSettingsRoot, key);
  for (const SettingsDefault& value : InstallerDefaults(options.startUpWithWindows)) {
    RegistryKey key = CreateUserSettings(value.key);
    if (!key.Read(value.name)) written = key.Write(value.name, value.value) && written;
  }
  return written;
}

}  // namespace

bool WriteRegistryEntries(TInstallState& state, int64_t installedBytes) {
  state.view->SetStatus(L"Working with Registry");
  bool written = state.scope == InstallScope::CurrentUser ? WriteUsersDefaults(state.options)
                                                          : WriteMachineDefaults(state.options);
  auto put = [&written](const RegistryKey& key, const char* name, const RawValue& value) {
    written = key.Write(name, value) && written;
  };
  const HKEY root = platform::EntryRoot(state.scope);
  (void)RemoveRegistryLink(root, kUninstallKey);
  RegistryKey entry = RegistryKey::Create(root, kUninstallKey, KEY_SET_VALUE);
  const std::wstring& folder = state.InstallFolder;
  put(entry, "DisplayName", EncodeString("Lumorix"));
  put(entry, "UninstallString", WideString(UninstallCommand(folder)));
  put(entry, "InstallLocation", WideString(folder));
  put(entry, "NoModify", EncodeInteger(1));
  put(entry, "NoRepair", EncodeInteger(1));
  put(entry, "DisplayIcon", WideString(folder + L"Lumorix.exe"));
  put(entry, "DisplayVersion", EncodeString(LUMORIX_VERSION));
  put(entry, "Publisher", EncodeString("Vantrel"));
  put(entry, "EstimatedSize", EncodeInteger(static_cast<int32_t>(EstimatedSizeKb(installedBytes))));
  state.view->SetStatus(L"Complite.");
  return written;
}

void CreateShortcuts(TInstallState& state) {
  state.view->SetStatus(L"Creating shortcuts.");
  const std::wstring& folder = state.InstallFolder;
  // Written in place, replacing a shortcut of an earlier installation (into
  // this or another folder). An installation for everyone puts them where
  // every user of the machine sees them; one for the user alone, in that
  // user's own Start menu and desktop.
  const bool forUser = state.scope == InstallScope::CurrentUser;
  auto link = [&](const std::wstring& target, const std::wstring& file) {
    (void)DeleteFileW(file.c_str());
    (void)CreateShortcut(folder + target, L"", folder, file);
    state.UninstallLog.WriteLine(file);
  };
  if (state.options.startMenuShortcuts) {
    // Without a programs folder the shortcuts would land in a drive's root.
    std::wstring programs = forUser ? platform::UserProgramsFolder() : platform::CommonProgramsFolder();
    if (!programs.empty()) {
      std::wstring maker = programs + L"\\Vantrel";
      (void)CreateDirectoryW(maker.c_str(), nullptr);
      state.FolderList.push_back(maker);
      std::wstring product = maker + L"\\Lumorix";
      state.FolderList.push_back(product);
      SortFolderList(state.FolderList);
      (void)CreateDirectoryW(product.c_str(), nullptr);
      link(L"Lumorix.exe", product + L"\\Lumorix.lnk");
      link(L"Uninstall.exe", product + L"\\Uninstall.lnk");
    }
  }
  if (state.options.desktopShortcut) {
    std::wstring desktop = forUser ? platform::UserDesktopFolder() : platform::CommonDesktopFolder();
    if (!desktop.empty()) link(L"Lumorix.exe", desktop + L"\\Lumorix.lnk");
  }
}

void RemoveEarlierBatchFiles(TInstallState& state) {
  state.view->SetStatus(L"Creating uninstall");
  // An earlier version removed itself through these; the uninstaller does
  // it alone now, and a stale one would run with the old folder list.
  for (const wchar_t* name : {L"Uninstall.bat", L"UD.bat"}) (void)DeleteFileW((state.InstallFolder + name).c_str());
}

}  // namespace lumorix::setup
