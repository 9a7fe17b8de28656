// Standing in for the system screen saver, and the start-up shortcut.
#include <windows.h>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell_link.h"
#include "platform/text.h"
#include "player/core/main_form.h"
#include "player/core/screen_saver_files.h"

namespace lumorix {

namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User shell folders";

}  // namespace

void TLumorixMainForm::InsatllScreenSaver(bool install) {
  // The installer leaves the screen saver in the program folder under this
  // name. Only there: a current folder (a downloads folder holding a file of
  // that name beside a shortcut to the player) is anybody's.
  if (install)
    (void)ReplaceScreenSaver(ProgramFolder() + L"LSS.s~");
  else
    RestoreScreenSaver();
}

void TLumorixMainForm::CBRSSClick() { InsatllScreenSaver(CBRSS.Checked()); }

void TLumorixMainForm::CBRunWithStartUpClick() {
  RegistryKey folders = RegistryKey::Open(HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ);
  std::wstring link = ReadRegistryString(folders.Get(), "StartUp");
  if (link.empty()) return;  // no StartUp folder to put a shortcut in
  if (link.back() != L'\\') link += L'\\';
  link += L"Lumorix.lnk";
  if (CBRunWithStartUp.Checked())
    (void)CreateShortcut(ProgramFileName(), L"", ProgramFolder(), link);
  else
    (void)DeleteFileW(link.c_str());
}

}  // namespace lumorix
