#include "setup/target_folder.h"

#include <windows.h>
#include <aclapi.h>

#include <vector>

#include "common/install_folder.h"
#include "common/setup_rules.h"
#include "platform/access_list.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "setup/registration.h"
#include "setup/line_file.h"

namespace lumorix::setup {

namespace {

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return L"";
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return L"";
  full.resize(length);
  return full;
}

// The names directly in the folder; `links` counts those that lead elsewhere
// (junctions and symbolic links), through which files would land outside it.
std::vector<std::wstring> NamesIn(const std::wstring& folder, int& links) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    names.push_back(name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ++links;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool InsideProgramFiles(const std::wstring& folder) {
  for (const std::wstring& programFiles : platform::ProgramFilesFolders()) {
    std::wstring prefix = CompleteFolder(programFiles);
    if (folder.size() > prefix.size() && SamePath(std::wstring_view(folder).substr(0, prefix.size()), prefix))
      return true;
  }
  return false;
}

bool ProtectLikeProgramFiles(const std::wstring& folder) {
  platform::OwnedAcl list =
      platform::AdministratorsFullUsersRead(FILE_ALL_ACCESS, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE);
  BYTE admins[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof admins;
  if (!list || !CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size)) return false;
  // The owner of a folder a standard user made beforehand could give the
  // rights back to themselves; the administrators own it from now on.
  (void)SetNamedSecurityInfoW(const_cast<LPWSTR>(folder.c_str()), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, admins,
                              nullptr, nullptr, nullptr);
  // Protected: nothing the parent (a drive's root, which users may write) passes down.
  return SetNamedSecurityInfoW(const_cast<LPWSTR>(folder.c_str()), SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                               list.get(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

FolderCheck CheckInstallFolder(const std::wstring& typed) {
  FolderCheck check;
  const std::wstring text = WithoutQuotes(typed);
  FolderProblem problem = TypedFolderProblem(text);
  std::wstring full = problem == FolderProblem::None ? FullPath(text) : text;
  if (problem == FolderProblem::None) problem = FullFolderProblem(full);
  if (problem == FolderProblem::None && GetDriveTypeW(full.substr(0, 3).c_str()) == DRIVE_REMOTE)
    problem = FolderProblem::Network;  // a mapped network drive
  if (problem != FolderProblem::None) {
    check.refusal = FolderRefusal(problem, text);
    return check;
  }
  check.folder = CompleteFolder(full);
  int links = 0;
  std::vector<std::wstring> names = NamesIn(check.folder, links);
  if (links > 0) {
    check.refusal = L"Lumorix was not installed: the folder \"" + check.folder +
                    L"\" holds links to other folders. Choose an empty folder.";
    return check;
  }
  std::wstring installed = platform::InstalledFolder();
  switch (ClassifyFolderContents(names, SamePath(installed, check.folder))) {
    case FolderContents::Empty:
    case FolderContents::EarlierInstallation:
      break;
    case FolderContents::StrangersUninstaller:
      check.refusal = L"Lumorix was not installed: the folder \"" + check.folder +
                      L"\" holds another program's uninstaller. Choose an empty folder.";
      break;
    case FolderContents::OtherFiles:
      check.question = L"The folder \"" + check.folder +
                       L"\" already holds files that are not part of Lumorix. Install Lumorix into it anyway?";
      break;
  }
  return check;
}

bool PrepareInstallFolder(const std::wstring& folder, std::wstring& why) {
  // The first folder made here would otherwise take what a drive's root
  // passes down (users may change it), and with it a user could move the
  // installation aside and put a folder of theirs at its registered place.
  std::wstring firstMade;
  for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
    if (CreateDirectoryW(folder.substr(0, at).c_str(), nullptr) && firstMade.empty()) firstMade = folder.substr(0, at);
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    why = L"the folder \"" + folder + L"\" cannot be created: " + SystemMessage(GetLastError()) + L".";
    return false;
  }
  if (!InsideProgramFiles(folder) &&
      ((!firstMade.empty() && !ProtectLikeProgramFiles(firstMade)) || !ProtectLikeProgramFiles(folder))) {
    why = L"the folder \"" + folder + L"\" cannot be protected against changes by other users.";
    return false;
  }
  return true;
}

}  // namespace lumorix::setup
