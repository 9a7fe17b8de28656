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

std::wstring MachineFolder(int csidl) {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) return L"";
  return folder;
}

std::wstring CommonProgramsFolder() { return MachineFolder(CSIDL_COMMON_PROGRAMS); }
std::wstring CommonDesktopFolder() { return MachineFolder(CSIDL_COMMON_DESKTOPDIRECTORY); }

std::vector<std::wstring> ProgramFilesFolders() {
  std::vector<std::wstring> folders;
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86})
    if (std::wstring folder = MachineFolder(csidl); !folder.empty()) folders.push_back(folder);
  // A 32-bit program on 64-bit Windows is told the x86 folder for both; the
  // native one is in the environment.
  wchar_t native[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableW(L"ProgramW6432", native, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.push_back(native);
  return folders;
}

}  // namespace lumorix::platform
