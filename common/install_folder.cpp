#include "install_folder.h"

#include <algorithm>

#include "safe_names.h"

namespace lumorix {

namespace {

wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }
bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool HasDriveAndRoot(std::wstring_view path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && IsSlash(path[2]);
}

// A relative name that stays below the folder it is taken from: what the
// payload reader would extract, and no empty or "." part either.
bool StaysInside(std::wstring_view relative) {
  if (relative.empty() || !IsSafeRelativeName(relative)) return false;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of(L"\\/", start);
    std::wstring_view part =
        relative.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    if (part.empty() || part == L"." || part == L"..") return false;
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::wstring WithoutQuotes(std::wstring_view typed) {
  auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!typed.empty() && blank(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && blank(typed.back())) typed.remove_suffix(1);
  if (typed.size() >= 2 && typed.front() == L'"' && typed.back() == L'"') typed = typed.substr(1, typed.size() - 2);
  return std::wstring(typed);
}

FolderProblem TypedFolderProblem(std::wstring_view typed) {
  if (typed.empty()) return FolderProblem::Empty;
  if (typed.size() >= 2 && IsSlash(typed[0]) && IsSlash(typed[1])) return FolderProblem::Network;
  return HasDriveAndRoot(typed) ? FolderProblem::None : FolderProblem::Relative;
}

FolderProblem FullFolderProblem(std::wstring_view full) {
  if (FolderProblem typed = TypedFolderProblem(full); typed != FolderProblem::None) return typed;
  std::wstring_view rest = full.substr(3);
  while (!rest.empty() && IsSlash(rest.front())) rest.remove_prefix(1);
  return rest.empty() ? FolderProblem::DriveRoot : FolderProblem::None;
}

std::wstring FolderRefusal(FolderProblem problem, std::wstring_view folder) {
  const std::wstring quoted = L"\"" + std::wstring(folder) + L"\"";
  switch (problem) {
    case FolderProblem::Empty:
      return L"Lumorix was not installed: no installation folder was given.";
    case FolderProblem::Relative:
      return L"Lumorix was not installed: the folder " + quoted +
             L" is not a full path. Give one with its drive, such as C:\\Program Files\\Vantrel\\Lumorix\\.";
    case FolderProblem::Network:
      return L"Lumorix was not installed: the folder " + quoted +
             L" is on the network. Choose a folder on a drive of this computer.";
    case FolderProblem::DriveRoot:
      return L"Lumorix was not installed: " + quoted + L" is the root of a drive. Choose a folder on it.";
    case FolderProblem::None:
      break;
  }
  return L"";
}

FolderContents ClassifyFolderContents(const std::vector<std::wstring>& names, bool registered,
                                      const std::vector<std::wstring>& logged, std::wstring_view folder) {
  static const std::vector<std::wstring> kOurs = {L"Languages",     L"Skins",         L"Lumorix.Lumorixpl",
                                                  L"Lumorix.exe",   L"LSS.s~",        L"Uninstall.exe",
                                                  L"Uninstall.log", L"Uninstall.bat", L"UD.bat"};
  auto has = [&](std::wstring_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return SamePath(n, name); });
  };
  if (names.empty()) return FolderContents::Empty;
  std::vector<std::wstring> ours = kOurs;
  for (const std::wstring& line : logged)
    if (std::optional<std::wstring> path = RemovablePath(line, folder, {}))
      ours.push_back(path->substr(folder.size(), path->find_first_of(L"\\/", folder.size()) - folder.size()));
  bool onlyOurs = std::all_of(names.begin(), names.end(), [&](const std::wstring& name) {
    return std::any_of(ours.begin(), ours.end(), [&](const std::wstring& own) { return SamePath(name, own); });
  });
  if (registered && has(L"Lumorix.exe") && onlyOurs) return FolderContents::EarlierInstallation;
  // Without our player beside them, an uninstaller and its log are another program's.
  if (!has(L"Lumorix.exe") && (has(L"Uninstall.exe") || has(L"Uninstall.log")))
    return FolderContents::StrangersUninstaller;
  return FolderContents::OtherFiles;
}

bool SamePath(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return Fold(x) == Fold(y) || (IsSlash(x) && IsSlash(y));
         });
}

std::optional<std::wstring> RemovablePath(std::wstring_view line, std::wstring_view installFolder,
                                          const std::vector<std::wstring>& ownShortcuts) {
  if (line.empty() || installFolder.empty()) return std::nullopt;
  for (const std::wstring& shortcut : ownShortcuts)
    if (SamePath(line, shortcut)) return shortcut;
  if (HasDriveAndRoot(line)) {
    if (line.size() <= installFolder.size() || !SamePath(line.substr(0, installFolder.size()), installFolder))
      return std::nullopt;
    line.remove_prefix(installFolder.size());
  }
  if (!StaysInside(line)) return std::nullopt;
  return std::wstring(installFolder) + std::wstring(line);
}

}  // namespace lumorix
