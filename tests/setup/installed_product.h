#pragma once
// The installed product as the end-to-end tests look at it: the build's
// payload, the registry in either view, a clean machine, and the installed
// player driven as a user would.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/setup/setup_process.h"

namespace lumorix::test {

inline constexpr char kUninstallKeyName[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumorix";
// The default folder of this build's installer (for x64 the 64-bit program
// files, which this test bed names so; the 32-bit design's fixed one too).
inline const std::wstring kDefaultFolder = L"C:\\Program Files\\Vantrel\\Lumorix\\";
// The default folder of an installation for the user alone: their own programs folder.
std::wstring UserDefaultFolder();

std::wstring Build(const std::string& path);
std::wstring Source(const std::string& path);
std::wstring SetupProgram();

// Every file of the payload in archive order, with where the build keeps it
// ("" for the empty playlist).
std::vector<std::pair<std::string, std::wstring>> PayloadFiles();

// A value under HKEY_LOCAL_MACHINE in this build's view, or in `view`.
std::optional<std::string> ReadString(const char* key, const char* name, REGSAM view = 0);
// A string value of the user's own hive.
std::optional<std::string> ReadUserString(const char* key, const char* name);
std::optional<int32_t> ReadInteger(const char* key, const char* name, REGSAM view = 0);
bool KeyExists(const char* key, REGSAM view = 0);

void WriteFileText(const std::wstring& path, const std::string& text);
void RemoveTree(const std::wstring& folder);

// A machine without the product: its folders, both views' entries and
// machine settings, this user's own installation, settings and playlist.
void ForgetInstallations();

// The installed player, started from its folder, with its settings window found.
class InstalledPlayer {
 public:
  explicit InstalledPlayer(const std::wstring& folder);
  // One started otherwise (from a shortcut).
  explicit InstalledPlayer(ChildProcess started);
  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD Id() const { return process_.Id(); }
  // The player's own window of that caption, shown or not.
  HWND OwnWindow(const wchar_t* caption) const;
  // Appends a clip through the playlist window's "Add" button and the open
  // dialog, as a user would; true once the list holds `count` entries.
  bool AddThroughTheOpenDialog(const std::wstring& clip, int count);
  int PlayListCount() const;
  // Ends it as at log-off (it saves); true when it ended.
  bool EndAsAtLogOff();

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

}  // namespace lumorix::test
