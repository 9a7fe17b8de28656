#include "setup/target_folder.h"

#include <windows.h>

#include "common/install_folder.h"
#include "common/setup_rules.h"
#include "platform/known_folders.h"
#include "platform/unfollowed_files.h"
#include "setup/line_file.h"

namespace lumorix::setup {

namespace {

// Far more than an installation holds; a larger tree is no earlier installation.
constexpr size_t kMaxEntries = 4096;
constexpr int kMaxDepth = 8;
constexpr size_t kMaxLog = 1u << 20;

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return L"";
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return L"";
  full.resize(length);
  return full;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// The places whose own protection a folder made inside them inherits.
std::vector<std::wstring> ScopesOwnPlaces(InstallScope scope) {
  if (scope == InstallScope::CurrentUser) {
    std::wstring profile = platform::ProfileFolder();
    return profile.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{profile};
  }
  return platform::ProgramFilesFolders();
}

bool InsideOneOf(const std::wstring& folder, const std::vector<std::wstring>& places) {
  for (const std::wstring& place : places) {
    std::wstring prefix = CompleteFolder(place);
    if (folder.size() > prefix.size() && SamePath(std::wstring_view(folder).substr(0, prefix.size()), prefix))
      return true;
  }
  return false;
}

bool IsRegistered(const std::wstring& folder, const std::vector<std::wstring>& registered) {
  for (const std::wstring& known : registered) {
    std::wstring longKnown = platform::LongPath(known);
    if (SamePath(CompleteFolder(longKnown.empty() ? known : longKnown), folder)) return true;
  }
  return false;
}

// Every place in the tree is where its path says and has one name only.
// `why` says what is wrong otherwise.
bool TreeIsPlain(const std::wstring& folder, int depth, size_t& seen, std::wstring& why) {
  for (const std::wstring& name : platform::NamesIn(folder)) {
    const std::wstring path = folder + name;
    if (++seen > kMaxEntries || depth > kMaxDepth) {
      why = L"the folder " + Quoted(folder) + L" holds far more than an installation of Lumorix.";
      return false;
    }
    UniqueHandle place = platform::OpenUnfollowed(path, FILE_READ_ATTRIBUTES);
    std::optional<platform::PlaceFacts> facts = place ? platform::FactsOf(place.Get(), path) : std::nullopt;
    if (!facts || facts->link) {
      why = Quoted(path) + L" is a link to another place.";
      return false;
    }
    if (!facts->folder && facts->links > 1) {
      why = Quoted(path) + L" is a second name of another file (a hard link).";
      return false;
    }
    if (facts->folder && !TreeIsPlain(path + L"\\", depth + 1, seen, why)) return false;
  }
  return true;
}

// The existing folder's rules; `why` says which one it breaks.
bool AcceptExisting(const std::wstring& folder, HANDLE handle, const std::vector<std::wstring>& registered,
                    FolderSecurity& security, InstallScope scope, std::wstring& why) {
  const std::wstring refused = L"the folder " + Quoted(folder) + L" already exists";
  if (!IsRegistered(folder, registered)) {
    why = refused + L" and is not the installed Lumorix's. Choose a folder that does not exist yet.";
    return false;
  }
  if (!OwnedAsItsScopeNeeds(security, handle, scope)) {
    why = refused +
          (scope == InstallScope::CurrentUser ? std::wstring(L" and is neither yours nor the administrators'")
                                              : std::wstring(L" and is not owned by the administrators")) +
          L": another user could change it. Choose a folder that does not exist yet.";
    return false;
  }
  std::vector<std::wstring> logged;
  if (std::optional<std::string> log = platform::ReadPlainFile(folder + L"Uninstall.log", kMaxLog))
    for (const std::string& line : LogLines(*log)) logged.push_back(AnsiToWide(line));
  switch (ClassifyFolderContents(platform::NamesIn(folder), true, logged, folder)) {
    case FolderContents::Empty:
    case FolderContents::EarlierInstallation:
      break;
    case FolderContents::StrangersUninstaller:
    case FolderContents::OtherFiles:
      why = refused + L" and holds files that are not part of Lumorix. Choose a folder that does not exist yet.";
      return false;
  }
  size_t seen = 0;
  std::wstring inside;
  if (!TreeIsPlain(folder, 0, seen, inside)) {
    why = L"the folder " + Quoted(folder) + L" cannot be used: " + inside;
    return false;
  }
  return true;
}

}  // namespace

std::wstring DefaultFolder(InstallScope scope) {
  if (scope == InstallScope::CurrentUser) {
    std::wstring programs = platform::UserProgramFilesFolder();
    return programs.empty() ? L"" : CompleteFolder(programs) + L"Vantrel\\Lumorix\\";
  }
#ifdef _WIN64
  if (std::wstring programFiles = platform::ProgramFilesFolder(); !programFiles.empty())
    return CompleteFolder(programFiles) + L"Vantrel\\Lumorix\\";
#endif
  return DefaultInstallFolder(platform::SystemFolder());
}

FolderCheck NormaliseInstallFolder(const std::wstring& typed) {
  FolderCheck check;
  const std::wstring text = WithoutQuotes(typed);
  FolderProblem problem = TypedFolderProblem(text);
  std::wstring full = problem == FolderProblem::None ? FullPath(text) : text;
  if (problem == FolderProblem::None) problem = FullFolderProblem(full);
  if (problem == FolderProblem::None && GetDriveTypeW(full.substr(0, 3).c_str()) == DRIVE_REMOTE)
    problem = FolderProblem::Network;  // a mapped network drive
  if (problem != FolderProblem::None)
    check.refusal = FolderRefusal(problem, text);
  else
    check.folder = CompleteFolder(full);
  return check;
}

std::optional<HeldFolder> PrepareInstallFolder(const std::wstring& folder, const std::vector<std::wstring>& registered,
                                               FolderSecurity& security, InstallScope scope, std::wstring& why) {
  const bool outsideOwnPlace = !InsideOneOf(folder, ScopesOwnPlaces(scope));
  // From the drive's root down: "C:\", "C:\Apps", "C:\Apps\Lumorix".
  std::vector<std::wstring> names{folder.substr(0, 3)};
  for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
    names.push_back(folder.substr(0, at));
  std::vector<UniqueHandle> parts;
  std::wstring reached;
  bool existed = true;
  for (const std::wstring& part : names) {
    const bool last = parts.size() + 1 == names.size();
    existed = GetFileAttributesW(part.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!existed) {
      // Each folder made outside the scope's own place is protected from its
      // first moment: one another user could change would let them move the
      // installation aside and put a folder of theirs at its place.
      bool made =
          outsideOwnPlace ? CreateProtectedFolder(security, part, scope) : CreateDirectoryW(part.c_str(), nullptr);
      if (!made) {
        why = L"the folder " + Quoted(part) + L" cannot be created: " + SystemMessage(GetLastError()) + L".";
        return std::nullopt;
      }
    }
    DWORD access = FILE_READ_ATTRIBUTES | READ_CONTROL | (last ? WRITE_DAC | WRITE_OWNER : 0);
    UniqueHandle handle = platform::OpenUnfollowed(part, access);
    std::optional<platform::PlaceFacts> facts = handle ? platform::FactsOf(handle.Get(), part) : std::nullopt;
    if (!facts) {
      why = L"the folder " + Quoted(part) + L" cannot be opened: " + SystemMessage(GetLastError()) + L".";
      return std::nullopt;
    }
    if (facts->link) {
      why = L"the folder " + Quoted(part) +
            L" is a link to another place (a junction or a symbolic link). Choose a folder on a plain path.";
      return std::nullopt;
    }
    if (!facts->folder) {
      why = Quoted(part) + L" is a file, not a folder.";
      return std::nullopt;
    }
    reached = platform::LongPath(part);
    parts.push_back(std::move(handle));
  }
  const std::wstring held = CompleteFolder(reached);
  if (existed) {
    if (!AcceptExisting(held, parts.back().Get(), registered, security, scope, why)) return std::nullopt;
    // An earlier installation's folder gets the protection again, through the
    // handle it was judged by: an earlier version may have left it open.
    if (outsideOwnPlace && !ProtectFolder(security, parts.back().Get(), scope)) {
      why = L"the folder " + Quoted(held) + L" cannot be protected against changes by other users.";
      return std::nullopt;
    }
  }
  return HeldFolder(held, std::move(parts));
}

}  // namespace lumorix::setup
