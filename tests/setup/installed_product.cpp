#include "tests/setup/installed_product.h"

#include <filesystem>
#include <fstream>

#include "common/settings_layout.h"
#include "platform/known_folders.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/user_files.h"
#include "tests/support/gui_test.h"
#include "tests/support/registry_fixture.h"

namespace lumorix::test {

using std::chrono::milliseconds;

std::wstring Build(const std::string& path) { return WindowsPath(LUMORIX_BUILD_DIR "/" + path); }
std::wstring Source(const std::string& path) { return WindowsPath(LUMORIX_SOURCE_DIR "/" + path); }
std::wstring SetupProgram() { return Build("bin/LumorixSetup.exe"); }

std::vector<std::pair<std::string, std::wstring>> PayloadFiles() {
  static const char* const kSkinFiles[] = {"Add.bmp",   "ColorControl.png", "Del.bmp",      "Next.png",
                                           "Pause.png", "Play.png",         "PlayList.png", "Previous.png",
                                           "Rand.bmp",  "Rep.bmp",          "Skin.ini",     "Stop.png"};
  std::vector<std::pair<std::string, std::wstring>> files = {
      {"Languages\\English.ini", Source("player/shipped/Languages/English.ini")},
      {"Languages\\Russian.ini", Source("player/shipped/Languages/Russian.ini")}};
  for (const char* name : kSkinFiles)
    files.push_back(
        {std::string("Skins\\Radorur.skn\\") + name, Source(std::string("player/shipped/Skins/Radorur.skn/") + name)});
  files.push_back({"Lumorix.Lumorixpl", L""});
  // The programs as the payload carries them: the build's, without debugging information.
  files.push_back({"Lumorix.exe", Build("setup/payload-programs/Lumorix.exe")});
  if (Exists(Build("bin/LumorixSS.exe"))) files.push_back({"LSS.s~", Build("setup/payload-programs/LSS.s~")});
  files.push_back({"Uninstall.exe", Build("setup/payload-programs/Uninstall.exe")});
  return files;
}

std::optional<std::string> ReadString(const char* key, const char* name, REGSAM view) {
  std::optional<RawValue> value = RegistryKey::Open(HKEY_LOCAL_MACHINE, key, KEY_READ | view).Read(name);
  if (!value) return std::nullopt;
  return DecodeString(name, value);
}

std::optional<int32_t> ReadInteger(const char* key, const char* name, REGSAM view) {
  std::optional<RawValue> value = RegistryKey::Open(HKEY_LOCAL_MACHINE, key, KEY_READ | view).Read(name);
  if (!value) return std::nullopt;
  return DecodeInteger(name, value);
}

std::optional<std::string> ReadUserString(const char* key, const char* name) {
  std::optional<RawValue> value = RegistryKey::Open(HKEY_CURRENT_USER, key, KEY_READ).Read(name);
  if (!value) return std::nullopt;
  return DecodeString(name, value);
}

std::wstring UserDefaultFolder() { return platform::LocalAppDataFolder(false) + L"\\Programs\\Vantrel\\Lumorix\\"; }

bool KeyExists(const char* key, REGSAM view) {
  return static_cast<bool>(RegistryKey::Open(HKEY_LOCAL_MACHINE, key, KEY_READ | view));
}

void WriteFileText(const std::wstring& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  file << text;
}

void RemoveTree(const std::wstring& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

void ForgetInstallations() {
  RemoveTree(kDefaultFolder);
  RemoveTree(ProgramsFolder() + L"\\Vantrel\\");
  DeleteFileW((DesktopFolder() + L"\\Lumorix.lnk").c_str());
  for (REGSAM view : {REGSAM{KEY_WOW64_32KEY}, REGSAM{KEY_WOW64_64KEY}}) {
    (void)RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Widen(kUninstallKeyName).c_str(), view, 0);
    HKEY software = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) == ERROR_SUCCESS) {
      (void)RegDeleteTreeW(software, L"Vantrel");
      RegCloseKey(software);
    }
  }
  RemoveTree(platform::LocalAppDataFolder(false) + L"\\Programs\\Vantrel\\");
  RemoveTree(platform::UserProgramsFolder() + L"\\Vantrel\\");
  DeleteFileW((platform::UserDesktopFolder() + L"\\Lumorix.lnk").c_str());
  (void)RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kUninstallKeyName).c_str());
  DeleteSettingsTree();
  DeleteFileW((platform::UserDataFolder() + L"Lumorix.Lumorixpl").c_str());
}

InstalledPlayer::InstalledPlayer(const std::wstring& folder) : process_(folder + L"Lumorix.exe", L"", folder) {
  if (!process_.Started()) return;
  window_ = WaitForProcessWindow(process_.Id(), L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(30000));
}

InstalledPlayer::InstalledPlayer(ChildProcess started) : process_(std::move(started)) {
  if (!process_.Started()) return;
  window_ = WaitForProcessWindow(process_.Id(), L"TLumorixMainForm", L"Lumorix - Settings", milliseconds(30000));
}

HWND InstalledPlayer::OwnWindow(const wchar_t* caption) const { return FindProcessWindow(process_.Id(), caption); }

int InstalledPlayer::PlayListCount() const {
  HWND list = FindWindowExW(OwnWindow(L"PlayList"), nullptr, L"ListBox", nullptr);
  return list ? static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) : -1;
}

bool InstalledPlayer::AddThroughTheOpenDialog(const std::wstring& clip, int count) {
  HWND playList = OwnWindow(L"PlayList");
  HWND toolBar = FindWindowExW(playList, nullptr, L"ToolbarWindow32", nullptr);
  if (!toolBar) return false;
  // "Add" is the tool bar's first button, command 100.
  PostMessageW(playList, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(toolBar));
  HWND dialog = WaitForProcessWindow(process_.Id(), L"#32770", nullptr, milliseconds(20000));
  HWND box = dialog ? OpenDialogFileNameBox(dialog) : nullptr;
  if (!box) return false;
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(clip.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return PumpUntil([&] { return PlayListCount() == count; }, milliseconds(20000));
}

bool InstalledPlayer::EndAsAtLogOff() {
  DWORD_PTR answer = 0;
  if (window_) SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
  return process_.WaitForExit(milliseconds(20000)).has_value();
}

}  // namespace lumorix::test
