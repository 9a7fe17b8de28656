#pragma once
// The user's side of the screen-saver replacement as tests set it up and
// read it back: the system's "SCRNSAVE.EXE", the copies, and the program
// folder that holds the installer's "LSS.s~".
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace lumorix::test {

// "SCRNSAVE.EXE" under HKEY_CURRENT_USER "Control Panel\Desktop"; nothing when missing.
std::optional<std::wstring> ScreenSaverSetting();
void SetScreenSaverSetting(const std::optional<std::wstring>& value);

std::optional<std::vector<char>> FileBytes(const std::wstring& path);

// What the stranger's "LSS.s~" in the working folder holds.
inline constexpr char kStrangersScreenSaver[] = "MZ a stranger's program";

// For its lifetime the program folder holds the built LumorixSS.exe as
// "LSS.s~" (when `withSource`; removed again after), and the process works
// in a fresh folder holding a stranger's "LSS.s~", which must never be taken.
// The programs that use it hold the `screen_saver_source` lock.
class ScreenSaverWorkFolder {
 public:
  explicit ScreenSaverWorkFolder(bool withSource = true);
  ~ScreenSaverWorkFolder();
  ScreenSaverWorkFolder(const ScreenSaverWorkFolder&) = delete;
  ScreenSaverWorkFolder& operator=(const ScreenSaverWorkFolder&) = delete;

 private:
  std::wstring previous_;
  std::wstring folder_;
};

// The user's screen saver for the length of a test, whatever the prefix had;
// the copies of earlier runs are removed before and after.
class UserScreenSaver {
 public:
  explicit UserScreenSaver(const std::wstring& setting);
  ~UserScreenSaver();
  UserScreenSaver(const UserScreenSaver&) = delete;
  UserScreenSaver& operator=(const UserScreenSaver&) = delete;

 private:
  std::optional<std::wstring> saved_;
};

// Where the replacement may put its copy, as this process writes to them.
std::wstring SystemFolderCopy();  // the system folder (the 64-bit one on 64-bit Windows)
std::wstring UserFolderCopy();    // the user's local application data
void RemoveCopies();

}  // namespace lumorix::test
