#include "setup/earlier_installation.h"

#include <windows.h>

#include <algorithm>

#include "common/install_folder.h"
#include "common/settings_layout.h"
#include "common/setup_rules.h"
#include "platform/handle.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/registry_access.h"
#include "platform/text.h"
#include "platform/unfollowed_files.h"
#include "platform/uninstall_entry.h"

namespace lumorix::setup {

namespace {

constexpr wchar_t kPlayListName[] = L"Lumorix.Lumorixpl";
// Far beyond any playlist (100 000 entries are 51 MB) and any log.
constexpr size_t kMaxPlayList = 256u << 20;
constexpr size_t kMaxLog = 1u << 20;

std::optional<std::string> PlayListIn(const std::wstring& folder) {
  if (folder.empty()) return std::nullopt;
  std::optional<std::string> bytes = platform::ReadPlainFile(folder + kPlayListName, kMaxPlayList);
  if (!bytes || bytes->empty()) return std::nullopt;
  return bytes;
}

// The folder in its long form; as registered when it is gone.
std::wstring Completed(const std::wstring& folder) {
  std::wstring full = platform::LongPath(folder);
  return CompleteFolder(full.empty() ? folder : full);
}

}  // namespace

EarlierInstallation FindEarlierInstallation(const std::wstring& folder, InstallScope scope) {
  EarlierInstallation earlier;
  REGSAM view = scope == InstallScope::AllUsers ? platform::EarlierInstallationView() : 0;
  if (view) {
    earlier.replacedFolder = Completed(platform::InstalledFolder(view));
    if (!earlier.replacedFolder.empty())
      if (auto log = platform::ReadPlainFile(earlier.replacedFolder + L"Uninstall.log", kMaxLog))
        for (const std::string& line : LogLines(*log)) earlier.replacedLog.push_back(AnsiToWide(line));
  }
  // The list of the installation being replaced in this very folder first,
  // then of the one being removed, then of one left in another folder.
  for (const std::wstring& candidate : {folder, earlier.replacedFolder, Completed(platform::InstalledFolder(scope))})
    if ((earlier.playList = PlayListIn(candidate))) break;
  return earlier;
}

bool CarryOverPlayList(const EarlierInstallation& earlier, const TInstallState& state) {
  if (!earlier.playList) return true;
  const std::wstring path = state.InstallFolder + kPlayListName;
  if (!platform::DeleteUnfollowed(path)) return false;
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  const std::string& bytes = *earlier.playList;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool RemoveReplacedInstallation(const EarlierInstallation& earlier, const TInstallState& state) {
  const std::wstring& old = earlier.replacedFolder;
  if (old.empty()) return true;
  const bool sameFolder = SamePath(old, state.InstallFolder);
  const bool gone = GetFileAttributesW(old.c_str()) == INVALID_FILE_ATTRIBUTES;
  // Without its log nothing of its files is known; in the same folder the
  // payload has replaced them, elsewhere they are left alone with their entry.
  if (earlier.replacedLog.empty() && !sameFolder && !gone) return true;
  auto installedHere = [&](const std::wstring& path) {
    return sameFolder && std::any_of(state.InstalledFiles.begin(), state.InstalledFiles.end(),
                                     [&](const std::wstring& name) { return SamePath(old + name, path); });
  };
  bool allGone = true;
  std::vector<std::wstring> folders;
  for (const std::wstring& line : earlier.replacedLog) {
    std::optional<std::wstring> path = RemovablePath(line, old, platform::CommonShortcuts());
    if (!path || installedHere(*path)) continue;
    allGone = platform::DeleteUnfollowed(*path) && allGone;
    if (!SamePath(std::wstring_view(*path).substr(0, std::min(path->size(), old.size())), old)) continue;
    for (size_t at = path->rfind(L'\\'); at != std::wstring::npos && at >= old.size(); at = path->rfind(L'\\', at - 1))
      folders.push_back(path->substr(0, at));
  }
  for (const wchar_t* name : {L"Uninstall.bat", L"UD.bat"}) (void)platform::DeleteUnfollowed(old + name);
  if (!sameFolder) allGone = platform::DeleteUnfollowed(old + L"Uninstall.log") && allGone;
  // Emptied folders, the deepest first; one holding files of the user's stays.
  std::sort(folders.begin(), folders.end(),
            [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
  for (const std::wstring& emptied : folders) (void)platform::RemoveFolderUnfollowed(emptied);
  if (!sameFolder) (void)platform::RemoveFolderUnfollowed(old.substr(0, old.size() - 1));
  // Its Start-menu folders, once its shortcuts are gone (the new ones, if
  // chosen, are made after this).
  if (std::wstring programs = platform::CommonProgramsFolder(); !programs.empty())
    for (const wchar_t* folder : {L"\\Vantrel\\Lumorix", L"\\Vantrel"})
      (void)platform::RemoveFolderUnfollowed(programs + folder);

  const REGSAM view = platform::EarlierInstallationView();
  allGone = DeleteKeyTree(HKEY_LOCAL_MACHINE, platform::kUninstallKey, view) && allGone;
  allGone = DeleteKeyTree(HKEY_LOCAL_MACHINE, kSettingsKey, view) && allGone;
  // The maker's key goes with its last product.
  HKEY maker = nullptr;
  DWORD subkeys = 1, values = 1;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Vantrel", REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | view, &maker) ==
      ERROR_SUCCESS) {
    RegistryKey key(maker);
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS &&
        subkeys == 0 && values == 0) {
      key.Close();
      (void)DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Vantrel", view);
    }
  }
  return allGone;
}

}  // namespace lumorix::setup
