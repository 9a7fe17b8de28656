// Standing in for the system screen saver, and the start-up shortcut.
#include <windows.h>

#include "common/settings_layout.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "player/core/main_form.h"
#include "platform/shell_link.h"

namespace lumorix {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User shell folders";

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return folder;
}

}  // namespace

static std::wstring WithoutNuls(std::wstring text) {
  std::erase(text, L'\0');
  return text;
}

void TLumorixMainForm::InsatllScreenSaver(bool install) {
  const std::wstring installed = SystemFolder() + L"\\LumorixSS.scr";
  RegistryKey desktop = RegistryKey::Open(HKEY_CURRENT_USER, kDesktopKey);
  if (install) {
    (void)CopyFileW(L"LSS.s~", installed.c_str(), TRUE);
    std::string previous = Narrow(WithoutNuls(ReadRegistryString(desktop.Get(), "SCRNSAVE.EXE")));
    (void)desktop.Write("SCRNSAVE.EXE", EncodeString(Narrow(SystemFolder() + L"\\LUMORI~1.SCR")));
    RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
    (void)settings.Write("OldScreenSaver", EncodeString(previous));
    return;
  }
  (void)DeleteFileW(installed.c_str());
  RegistryKey settings = RegistryKey::Create(HKEY_LOCAL_MACHINE, kSettingsKey);
  std::optional<RawValue> previous = settings.Read("OldScreenSaver");
  // Without a recorded screen saver there is nothing to give back; writing an
  // empty value would switch the user's screen saver off.
  if (!previous) return;
  (void)desktop.Write("SCRNSAVE.EXE", EncodeString(DecodeString("OldScreenSaver", previous)));
}

void TLumorixMainForm::CBRSSClick() { InsatllScreenSaver(CBRSS.Checked()); }

void TLumorixMainForm::CBRunWithStartUpClick() {
  RegistryKey folders = RegistryKey::Open(HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ);
  std::wstring link = WithoutNuls(ReadRegistryString(folders.Get(), "StartUp"));
  if (link.empty()) return;  // no StartUp folder to put a shortcut in
  if (link.back() != L'\\') link += L'\\';
  link += L"Lumorix.lnk";
  if (CBRunWithStartUp.Checked())
    (void)CreateShortcut(ProgramFileName(), L"", ProgramFolder(), link);
  else
    (void)DeleteFileW(link.c_str());
}

}  // namespace lumorix
