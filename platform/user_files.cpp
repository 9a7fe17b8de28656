#include "platform/user_files.h"

#include <windows.h>

#include "platform/known_folders.h"

namespace lumorix::platform {

std::wstring UserDataFolder(bool create) {
  std::wstring local = LocalAppDataFolder(create);
  if (local.empty()) return L"";
  if (create)
    for (const std::wstring& folder : {local + L"\\Vantrel", local + L"\\Vantrel\\Lumorix"})
      if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return L"";
  return local + L"\\Vantrel\\Lumorix\\";
}

std::wstring PlayListNameOf(const std::wstring& programFile) {
  std::wstring name = programFile.substr(programFile.find_last_of(L"\\/") + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name + L".Lumorixpl";
}

}  // namespace lumorix::platform
