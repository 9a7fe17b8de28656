#include "platform/uninstall_entry.h"

#include "common/install_folder.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/shell_link.h"

namespace lumorix::platform {

namespace {

std::wstring EntryFolder(HKEY root, REGSAM view) {
  RegistryKey entry = RegistryKey::Open(root, kUninstallKey, KEY_QUERY_VALUE | view);
  std::wstring folder = ReadRegistryString(entry.Get(), "InstallLocation");
  // Every file name is made by appending to the folder.
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::vector<std::wstring> ShortcutsIn(const std::wstring& programs, const std::wstring& desktop) {
  std::vector<std::wstring> links;
  if (!programs.empty())
    for (const wchar_t* name : {L"\\Vantrel\\Lumorix\\Lumorix.lnk", L"\\Vantrel\\Lumorix\\Uninstall.lnk"})
      links.push_back(programs + name);
  if (!desktop.empty()) links.push_back(desktop + L"\\Lumorix.lnk");
  return links;
}

}  // namespace

HKEY EntryRoot(InstallScope scope) {
  return scope == InstallScope::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring InstalledFolder(REGSAM view) { return EntryFolder(HKEY_LOCAL_MACHINE, view); }

std::wstring UserInstalledFolder() { return EntryFolder(HKEY_CURRENT_USER, 0); }

std::wstring InstalledFolder(InstallScope scope) {
  return scope == InstallScope::CurrentUser ? UserInstalledFolder() : InstalledFolder();
}

REGSAM EarlierInstallationView() {
#ifdef _WIN64
  return KEY_WOW64_32KEY;
#else
  return 0;
#endif
}

std::wstring EarlierInstallationFolder() {
  REGSAM view = EarlierInstallationView();
  return view ? InstalledFolder(view) : L"";
}

std::vector<std::wstring> RegisteredFolders(InstallScope scope) {
  std::vector<std::wstring> folders;
  std::vector<std::wstring> candidates = {InstalledFolder(scope)};
  if (scope == InstallScope::AllUsers) candidates.push_back(EarlierInstallationFolder());
  for (const std::wstring& folder : candidates)
    if (!folder.empty()) folders.push_back(folder);
  return folders;
}

std::vector<std::wstring> InstalledPlayers(InstallScope scope) {
  std::vector<std::wstring> players;
  for (const std::wstring& folder : RegisteredFolders(scope)) players.push_back(folder + L"Lumorix.exe");
  return players;
}

std::vector<std::wstring> ProductShortcuts(InstallScope scope) {
  if (scope == InstallScope::CurrentUser) return ShortcutsIn(UserProgramsFolder(), UserDesktopFolder());
  return ShortcutsIn(CommonProgramsFolder(), CommonDesktopFolder());
}

std::vector<std::wstring> CommonShortcuts() { return ProductShortcuts(InstallScope::AllUsers); }

std::optional<InstallScope> ScopeOfInstallation(const std::wstring& folder) {
  if (folder.empty()) return std::nullopt;
  for (InstallScope scope : {InstallScope::AllUsers, InstallScope::CurrentUser})
    if (std::wstring installed = InstalledFolder(scope); !installed.empty() && SamePath(installed, folder))
      return scope;
  return std::nullopt;
}

}  // namespace lumorix::platform
