#include "setup/registration.h"

#include <windows.h>

#include "common/settings_layout.h"
#include "common/setup_rules.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/shell_link.h"
#include "platform/text.h"

#ifndef LUMORIX_VERSION
#define LUMORIX_VERSION "1.1"
#endif

namespace lumorix::setup {

namespace {

RawValue WideString(const std::wstring& text) { return EncodeString(Narrow(text)); }

void CopyShortcut(const std::wstring& from, const std::wstring& to, LineFile& log) {
  // An older shortcut in the way stays; its path is logged all the same.
  (void)CopyFileW(from.c_str(), to.c_str(), TRUE);
  log.WriteLine(to);
}

}  // namespace

void WriteRegistryEntries(TInstallState& state, int64_t installedBytes) {
  state.view->SetStatus(L"Working with Registry");
  for (const SettingsDefault& value : InstallerDefaults(state.options.startUpWithWindows))
    (void)RegistryKey::Create(HKEY_LOCAL_MACHINE, value.key).Write(value.name, value.value);
  // The player writes its settings here with the user's own rights.
  for (const char* key : {kSettingsKey, kAudioKey, kColorKey, kVideoKey, kPlayListKey})
    (void)GrantUsersFullControl(HKEY_LOCAL_MACHINE, key);

  RegistryKey entry = RegistryKey::Create(HKEY_LOCAL_MACHINE, kUninstallKey);
  const std::wstring& folder = state.InstallFolder;
  (void)entry.Write("DisplayName", EncodeString("Lumorix"));
  (void)entry.Write("UninstallString", WideString(UninstallCommand(folder)));
  (void)entry.Write("InstallLocation", WideString(folder));
  (void)entry.Write("NoModify", EncodeInteger(1));
  (void)entry.Write("NoRepair", EncodeInteger(1));
  (void)entry.Write("DisplayIcon", WideString(folder + L"Lumorix.exe"));
  (void)entry.Write("DisplayVersion", EncodeString(LUMORIX_VERSION));
  (void)entry.Write("Publisher", EncodeString("Vantrel"));
  (void)entry.Write("EstimatedSize", EncodeInteger(static_cast<int32_t>(EstimatedSizeKb(installedBytes))));
  state.view->SetStatus(L"Complite.");
}

void CreateShortcuts(TInstallState& state) {
  state.view->SetStatus(L"Creating shortcuts.");
  const std::wstring& folder = state.InstallFolder;
  const std::wstring playerLink = folder + L"Lumorix.lnk";
  const std::wstring uninstallLink = folder + L"Uninstall.lnk";
  (void)CreateShortcut(folder + L"Lumorix.exe", L"", folder, playerLink);
  (void)CreateShortcut(folder + L"Uninstall.bat", L"", folder, uninstallLink);

  if (state.options.startMenuShortcuts) {
    // Without a programs folder the shortcuts would land in a drive's root.
    std::wstring programs = UserShellFolder("Programs");
    if (!programs.empty()) {
      std::wstring maker = programs + L"\\Vantrel";
      (void)CreateDirectoryW(maker.c_str(), nullptr);
      state.FolderList.push_back(maker);
      std::wstring product = maker + L"\\Lumorix";
      state.FolderList.push_back(product);
      SortFolderList(state.FolderList);
      (void)CreateDirectoryW(product.c_str(), nullptr);
      CopyShortcut(playerLink, product + L"\\Lumorix.lnk", state.UninstallLog);
      CopyShortcut(uninstallLink, product + L"\\Uninstall.lnk", state.UninstallLog);
    }
  }
  if (state.options.desktopShortcut) {
    std::wstring desktop = UserShellFolder("Desktop");
    if (!desktop.empty()) CopyShortcut(playerLink, desktop + L"\\Lumorix.lnk", state.UninstallLog);
  }
  (void)DeleteFileW(playerLink.c_str());
  (void)DeleteFileW(uninstallLink.c_str());
}

void WriteUninstallBatch(TInstallState& state) {
  state.view->SetStatus(L"Creating uninstall");
  WriteLines(state.InstallFolder + L"Uninstall.bat", UninstallBatchLines(state.InstallFolder, state.FolderList));
  WriteLines(state.InstallFolder + L"UD.bat", UdBatchLines(state.InstallFolder));
}

}  // namespace lumorix::setup
