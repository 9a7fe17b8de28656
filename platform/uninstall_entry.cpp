#include "platform/uninstall_entry.h"

#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/shell_link.h"

namespace lumorix::platform {

std::wstring InstalledFolder(REGSAM view) {
  RegistryKey entry = RegistryKey::Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_QUERY_VALUE | view);
  std::wstring folder = ReadRegistryString(entry.Get(), "InstallLocation");
  // Every file name is made by appending to the folder.
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
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

std::vector<std::wstring> RegisteredFolders() {
  std::vector<std::wstring> folders;
  for (const std::wstring& folder : {InstalledFolder(), EarlierInstallationFolder()})
    if (!folder.empty()) folders.push_back(folder);
  return folders;
}

std::vector<std::wstring> InstalledPlayers() {
  std::vector<std::wstring> players;
  for (const std::wstring& folder : RegisteredFolders()) players.push_back(folder + L"Lumorix.exe");
  return players;
}

std::vector<std::wstring> CommonShortcuts() {
  std::vector<std::wstring> links;
  if (std::wstring programs = CommonProgramsFolder(); !programs.empty())
    for (const wchar_t* name : {L"\\Vantrel\\Lumorix\\Lumorix.lnk", L"\\Vantrel\\Lumorix\\Uninstall.lnk"})
      links.push_back(programs + name);
  if (std::wstring desktop = CommonDesktopFolder(); !desktop.empty()) links.push_back(desktop + L"\\Lumorix.lnk");
  return links;
}

}  // namespace lumorix::platform
