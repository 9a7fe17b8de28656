#include "platform/known_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace lumorix::platform {

namespace {

template <typename Reader>
std::wstring FolderFrom(Reader read) {
  wchar_t folder[MAX_PATH] = {};
  UINT length = read(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? folder : L"";
}

}  // namespace

std::wstring SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::wstring SystemWindowsFolder() { return FolderFrom(GetSystemWindowsDirectoryW); }

std::wstring LocalAppDataFolder(bool create) {
  wchar_t folder[MAX_PATH] = {};
  const int which = CSIDL_LOCAL_APPDATA | (create ? CSIDL_FLAG_CREATE : 0);
  if (FAILED(SHGetFolderPathW(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, folder))) return L"";
  return folder;
}

}  // namespace lumorix::platform
