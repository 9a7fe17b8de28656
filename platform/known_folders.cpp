#include "platform/known_folders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/registry.h"
#include "platform/text.h"

namespace lumorix::platform {

namespace {

template <typename Reader>
std::wstring FolderFrom(Reader read) {
  wchar_t folder[MAX_PATH] = {};
  UINT length = read(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? folder : L"";
}

std::wstring KnownFolder(REFKNOWNFOLDERID id, DWORD flags = 0) {
  PWSTR path = nullptr;
  HRESULT found = SHGetKnownFolderPath(id, flags, nullptr, &path);
  std::wstring folder = SUCCEEDED(found) && path ? path : L"";
  CoTaskMemFree(path);
  return folder;
}

// A plain string value only: an expandable one would take its parts from the environment.
std::wstring PlainString(const RegistryKey& key, const char* name) {
  std::optional<RawValue> value = key.Read(name);
  if (!value || value->type != REG_SZ) return L"";
  std::string text(value->data.begin(), value->data.end());
  text.resize(std::min(text.find('\0'), text.size()));
  return Widen(text);
}

}  // namespace

std::wstring SystemFolder() { return FolderFrom(GetSystemDirectoryW); }

std::wstring SystemWindowsFolder() { return FolderFrom(GetSystemWindowsDirectoryW); }

std::wstring LocalAppDataFolder(bool create) {
  return KnownFolder(FOLDERID_LocalAppData, create ? DWORD{KF_FLAG_CREATE} : DWORD{0});
}

std::wstring CommonProgramsFolder() { return KnownFolder(FOLDERID_CommonPrograms); }
std::wstring CommonDesktopFolder() { return KnownFolder(FOLDERID_PublicDesktop); }

std::wstring UserProgramsFolder() { return KnownFolder(FOLDERID_Programs); }
std::wstring UserDesktopFolder() { return KnownFolder(FOLDERID_Desktop); }
std::wstring ProfileFolder() { return KnownFolder(FOLDERID_Profile); }

std::wstring UserProgramFilesFolder() {
  if (std::wstring folder = KnownFolder(FOLDERID_UserProgramFiles); !folder.empty()) return folder;
  // Its documented place, for a system that does not know the folder (Wine 8 does not).
  std::wstring local = LocalAppDataFolder(false);
  return local.empty() ? L"" : local + L"\\Programs";
}

std::wstring ProgramFilesFolder() { return KnownFolder(FOLDERID_ProgramFiles); }

std::vector<std::wstring> ProgramFilesFolders() {
  std::vector<std::wstring> folders;
  for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86})
    if (std::wstring folder = KnownFolder(*id); !folder.empty()) folders.push_back(folder);
  // A 32-bit program on 64-bit Windows is told the x86 folder for both; the
  // native one is in the machine's own key, read in its 64-bit view (on
  // 32-bit Windows that view is the only one).
  RegistryKey machine = RegistryKey::Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                          KEY_QUERY_VALUE | KEY_WOW64_64KEY);
  std::wstring native = PlainString(machine, "ProgramW6432Dir");
  if (native.empty()) native = PlainString(machine, "ProgramFilesDir");
  if (!native.empty()) folders.push_back(native);
  return folders;
}

}  // namespace lumorix::platform
