#include "platform/files.h"

#include <windows.h>

#include "platform/handle.h"
#include "platform/text.h"

namespace lumorix {

std::wstring ProgramFileName() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

std::wstring ProgramFolder() {
  std::wstring name = ProgramFileName();
  return name.substr(0, name.find_last_of(L"\\/") + 1);
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> ListDirectory(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path, size_t limit) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  return ReadWholeOpenFile(file.Get(), limit);
}

std::optional<std::string> ReadWholeOpenFile(void* file, size_t limit) {
  LARGE_INTEGER size{};
  // Checked before anything is allocated: a file may be far larger than what reads it expects.
  if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) > limit) return std::nullopt;
  std::string contents(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!contents.empty() && (!ReadFile(file, contents.data(), static_cast<DWORD>(contents.size()), &read, nullptr) ||
                            read != contents.size()))
    return std::nullopt;
  return contents;
}

std::wstring ShortPathOf(const std::wstring& path) {
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring shortPath(length, L'\0');
  length = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  if (length == 0 || length >= shortPath.size()) return path;
  shortPath.resize(length);
  return shortPath;
}

std::optional<std::string> AnsiFileName(const std::wstring& path, const ShortPathLookup& shortPath) {
  if (std::optional<std::string> exact = ExactAnsi(path)) return exact;
  return ExactAnsi(shortPath(path));
}

}  // namespace lumorix
