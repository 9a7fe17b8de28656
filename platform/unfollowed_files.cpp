#include "platform/unfollowed_files.h"

#include "common/install_folder.h"
#include "platform/files.h"

namespace lumorix::platform {

namespace {

// "\\?\C:\x" as GetFinalPathNameByHandle gives it, "C:\x" as paths are written.
std::wstring WithoutLongPrefix(std::wstring path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\" + path.substr(7);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

std::wstring WithoutFinalSlash(std::wstring path) {
  // A drive's root keeps its backslash ("C:\").
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return L"";
    if (length < path.size()) {
      path.resize(length);
      return WithoutLongPrefix(path);
    }
    path.resize(length + 1);
  }
  return L"";
}

}  // namespace

UniqueHandle OpenUnfollowed(const std::wstring& path, DWORD access, DWORD share) {
  return UniqueHandle(CreateFileW(path.c_str(), access, share & ~FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::wstring LongPath(const std::wstring& path) {
  DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return L"";
  std::wstring full(size, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), full.data(), size);
  if (length == 0 || length >= size) return L"";
  full.resize(length);
  return full;
}

std::optional<PlaceFacts> FactsOf(HANDLE handle, const std::wstring& path) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
      !GetFileInformationByHandle(handle, &information))
    return std::nullopt;
  PlaceFacts facts;
  facts.folder = (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.links = information.nNumberOfLinks;
  // The place the handle reached, against the place the path names with its
  // parts in their long forms (which the final path always has).
  std::wstring reached = WithoutFinalSlash(FinalPath(handle));
  std::wstring named = WithoutFinalSlash(LongPath(path));
  facts.link = (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || reached.empty() || named.empty() ||
               !SamePath(reached, named);
  return facts;
}

bool DeleteUnfollowed(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
      (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND))
    return true;
  UniqueHandle file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return false;
  std::optional<PlaceFacts> facts = FactsOf(file.Get(), path);
  if (!facts || facts->folder) return false;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  bool isLink = GetFileInformationByHandleEx(file.Get(), FileAttributeTagInfo, &tag, sizeof tag) &&
                (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  // A link as the file itself is deleted as the link; a place reached through
  // a link on the way is somewhere else and stays.
  if (facts->link && !isLink) return false;
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic) &&
      (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
    basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    (void)SetFileInformationByHandle(file.Get(), FileBasicInfo, &basic, sizeof basic);
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool RemoveFolderUnfollowed(const std::wstring& path) {
  UniqueHandle folder(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
  std::optional<PlaceFacts> facts = FactsOf(folder.Get(), path);
  FILE_ATTRIBUTE_TAG_INFO tag{};
  bool isLink = GetFileInformationByHandleEx(folder.Get(), FileAttributeTagInfo, &tag, sizeof tag) &&
                (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  if (!facts || !facts->folder || (facts->link && !isLink)) return false;
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(folder.Get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

std::optional<std::string> ReadPlainFile(const std::wstring& path, size_t limit) {
  UniqueHandle file = OpenUnfollowed(path, GENERIC_READ);
  std::optional<PlaceFacts> facts = file ? FactsOf(file.Get(), path) : std::nullopt;
  if (!facts || facts->link || facts->folder || facts->links > 1) return std::nullopt;
  return ReadWholeOpenFile(file.Get(), limit);
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((pattern + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace lumorix::platform
