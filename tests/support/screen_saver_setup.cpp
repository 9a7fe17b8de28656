#include "tests/support/screen_saver_setup.h"

#include <shlobj.h>

#include "common/settings_layout.h"
#include "platform/files.h"
#include "platform/handle.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "tests/support/child_process.h"
#include "tests/support/registry_fixture.h"

namespace lumorix::test {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

}  // namespace

std::optional<std::wstring> ScreenSaverSetting() {
  std::optional<RawValue> value = ReadSetting(kDesktopKey, "SCRNSAVE.EXE", HKEY_CURRENT_USER);
  if (!value) return std::nullopt;
  return Widen(DecodeString("SCRNSAVE.EXE", value));
}

void SetScreenSaverSetting(const std::optional<std::wstring>& value) {
  RegistryKey desktop = RegistryKey::Create(HKEY_CURRENT_USER, kDesktopKey);
  if (value)
    (void)desktop.Write("SCRNSAVE.EXE", EncodeString(Narrow(*value)));
  else
    (void)desktop.DeleteValue("SCRNSAVE.EXE");
}

std::optional<std::vector<char>> FileBytes(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::vector<char> bytes(GetFileSize(file.Get(), nullptr));
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return std::nullopt;
  return bytes;
}

ScreenSaverWorkFolder::ScreenSaverWorkFolder(bool withSource) : previous_(CurrentFolder()) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"lumorix-work";
  CreateDirectoryW(folder_.c_str(), nullptr);
  UniqueHandle stranger(
      CreateFileW((folder_ + L"\\LSS.s~").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(stranger.Get(), kStrangersScreenSaver, sizeof kStrangersScreenSaver - 1, &written, nullptr);
  stranger.Reset();
  SetCurrentDirectoryW(folder_.c_str());
  const std::wstring source = ProgramFolder() + L"LSS.s~";
  DeleteFileW(source.c_str());
  if (withSource) CopyFileW(ScreenSaverProgram().c_str(), source.c_str(), FALSE);
}

ScreenSaverWorkFolder::~ScreenSaverWorkFolder() {
  SetCurrentDirectoryW(previous_.c_str());
  DeleteFileW((ProgramFolder() + L"LSS.s~").c_str());
  DeleteFileW((folder_ + L"\\LSS.s~").c_str());
  RemoveDirectoryW(folder_.c_str());
}

UserScreenSaver::UserScreenSaver(const std::wstring& setting) : saved_(ScreenSaverSetting()) {
  RemoveCopies();
  SetScreenSaverSetting(setting);
  DeleteSetting(kSettingsKey, "OldScreenSaver");
}

UserScreenSaver::~UserScreenSaver() {
  RemoveCopies();
  SetScreenSaverSetting(saved_);
}

std::wstring SystemFolderCopy() {
  wchar_t folder[MAX_PATH] = {};
  BOOL wow64 = FALSE;
  if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
    GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Sysnative\\LumorixSS.scr";
  }
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\LumorixSS.scr";
}

std::wstring UserFolderCopy() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\Lumorix\\LumorixSS.scr";
}

void RemoveCopies() {
  DeleteFileW(SystemFolderCopy().c_str());
  DeleteFileW(UserFolderCopy().c_str());
}

}  // namespace lumorix::test
